// The merge run's copying: one row's audio into the output, and the finish.
#include "base/output_file.h"
#include "base/system_error_text.h"
#include "base/user_interaction.h"
#include "common/overwrite_confirmation.h"
#include "common/setting_keys.h"
#include "engine/audio_digest.h"
#include "engine/frame_copy.h"
#include "engine/lame_tag.h"
#include "engine/segment_writer.h"
#include "engine/stream_info_text.h"
#include "joiner/merge_page.h"
#include "joiner/merge_page_view.h"
#include "joiner/merge_run_state.h"
#include "joiner/silence.h"
#include "string_table.h"

#include <memory>

namespace keldro {
namespace {

constexpr std::uint64_t kMergeChunk = 5'000'000;

// The header's counts are 32-bit: an output beyond that announces the most it can.
std::uint32_t Clamped(std::uint64_t value)
{
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(value, 0xFFFFFFFFu));
}

} // namespace

// Opens a row's source, asking Abort/Retry/Ignore while it cannot be read.
// Nothing when the row is to be passed over; aborted is set on Abort.
static std::optional<FileReader> OpenSource(UserInteraction& ui, const std::string& path,
                                            CMP3Info& info, bool& aborted)
{
    for (;;) {
        std::string message;
        FileReader reader;
        if (!info.Analyse(path) || !info.HasStream()) {
            message = LoadFailureMessage(info, path);
        } else {
            reader = FileReader::Open(path);
            if (reader.IsOpen())
                return reader;
            message = FormatString(StringId::CannotOpenFile, path.c_str());
        }
        const MessageAnswer answer =
            ui.ShowMessage(message, MessageIcon::Error, MessageButtons::AbortRetryIgnore);
        if (answer == MessageAnswer::Retry)
            continue;
        aborted = answer != MessageAnswer::Ignore;
        return std::nullopt;
    }
}

// The first file's header frame begins the output and is patched at the end.
bool MergePage::KeepHeaderFrame(const CMP3Info& info, FileReader& reader, Run& run)
{
    std::vector<std::uint8_t> frame(info.FirstFrameOffset() - info.VbrFrameOffset());
    if (reader.ReadAt(info.VbrFrameOffset(), frame.data(), frame.size()) != frame.size() ||
        !run.out->Write(frame.data(), frame.size()))
        return false;
    run.header.emplace(std::move(frame), info.HeaderFrame());
    run.written.emplace(run.header->bytes.size());
    run.byteTotal += run.header->bytes.size();
    return true;
}

// A file's padding as its LAME tag gives it; 0 without one.
std::uint32_t MergePage::PaddingOf(const CMP3Info& info, FileReader& reader)
{
    if (!info.HasHeaderFrame())
        return 0;
    std::vector<std::uint8_t> frame(info.FirstFrameOffset() - info.VbrFrameOffset());
    if (reader.ReadAt(info.VbrFrameOffset(), frame.data(), frame.size()) != frame.size())
        return 0;
    return LameTag::Read(frame, info.HeaderFrame()).padding;
}

// The row's audio into the output; where its frames land and the CRC are
// worked out beside the copy, and wait for it only when it went through.
CopyOutcome MergePage::CopyRowAudio(const CMP3Info& info, FileReader& reader,
                                    const MergedFile& merged, FrameCounter& counter, Run& run)
{
    std::optional<AudioDigest> digest;
    if (run.written)
        digest.emplace(reader, info.HeaderWord(), merged.startOffset, merged.endOffset,
                       *run.written);
    const CopyOutcome outcome =
        CopyCountingFrames(reader, merged.startOffset, merged.endOffset, *run.out, counter,
                           kMergeChunk, [this] { return AfterChunk(); });
    if (outcome == CopyOutcome::Done && digest && !digest->Finish())
        return CopyOutcome::SourceChanged;
    return outcome;
}

bool MergePage::MergeRow(int row, Run& run)
{
    const MergeEntry entry = row < list_.RowCount() ? list_.Row(row) : MergeEntry{};
    view_.StatusChanged(FormatString(StringId::MergingStatus, row + 1, run.rows,
                                     entry.Text(MergeColumn::FileName).c_str()));
    CMP3Info info;
    std::optional<FileReader> reader = OpenSource(user_, entry.Path(), info, run.aborted);
    if (!reader)
        return !run.aborted;
    MergedFile merged{row, entry.Path(), info.FirstFrameOffset(), info.AudioEnd(), 0, 0};
    if (row == 0 && info.HasHeaderFrame() && !KeepHeaderFrame(info, *reader, run))
        return ReportFailure(run, run.target, SystemErrorReason(run.out->Error()));
    run.endPadding = PaddingOf(info, *reader);
    FrameCounter counter(*reader, info.HeaderWord(), merged.startOffset, merged.endOffset);
    const CopyOutcome outcome = CopyRowAudio(info, *reader, merged, counter, run);
    if (outcome == CopyOutcome::Stopped) {
        run.aborted = true;
        return false;
    }
    if (outcome == CopyOutcome::ReadFailed || outcome == CopyOutcome::SourceChanged)
        return ReportFailure(run, entry.Path(),
                             outcome == CopyOutcome::ReadFailed
                                 ? SystemErrorReason(reader->Error())
                                 : std::string(LoadString(StringId::ReasonSourceChangedMerging)));
    if (outcome != CopyOutcome::Done)
        return ReportFailure(run, run.target, SystemErrorReason(run.out->Error()));
    merged.frames = counter.Count();
    run.frameTotal += merged.frames;
    run.byteTotal += merged.endOffset - merged.startOffset;
    if (const int seconds = entry.SilenceSeconds(); seconds > 0) {
        const SilenceResult silence = AppendSilence(
            *run.out, info, seconds, [this] { return AfterChunk(); },
            run.written ? &*run.written : nullptr);
        if (silence.stopped) {
            run.aborted = true;
            return false;
        }
        if (!silence.ok)
            return ReportFailure(run, run.target, SystemErrorReason(run.out->Error()));
        merged.silenceFrames = silence.frames;
        run.endPadding = 0; // the output ends in silence, not in the file's padding
        run.frameTotal += silence.frames;
        run.byteTotal += silence.bytes;
    }
    view_.FileMerged(merged);
    return true;
}

// A read or write that failed halfway ends the run: the output is not kept.
// The file to blame is named, the source when it could not be read, with the
// reason on a line of its own.
bool MergePage::ReportFailure(Run& run, const std::string& file, const std::string& reason)
{
    const StringId message =
        file == run.target ? StringId::CannotCreateFile : StringId::CannotOpenFile;
    std::string text = FormatString(message, file.c_str());
    if (!reason.empty())
        text += "\n" + reason;
    user_.ShowMessage(text, MessageIcon::Error, MessageButtons::Ok);
    run.aborted = true;
    return false;
}

// A file that appeared at the target meanwhile is asked about like one that
// was there from the start; without leave to replace it, it stays.
bool MergePage::CommitOutput(Run& run)
{
    OutputFile::CommitResult committed = run.out->Commit(run.mayReplace);
    while (committed == OutputFile::CommitResult::TargetExists) {
        OverwriteRun overwrite{setting::kJoinerConfirmOverwrite, false, false};
        const OverwriteDecision decision =
            ConfirmOverwrite(user_, settings_, overwrite, run.target);
        if (!decision.write || TargetIsASource(decision.path))
            return false;
        run.target = decision.path;
        run.out->Retarget(run.target);
        committed = run.out->Commit(decision.mayReplace);
    }
    if (committed == OutputFile::CommitResult::Done)
        return true;
    ReportFailure(run, run.target, SystemErrorReason(run.out->Error()));
    return false;
}

bool MergePage::WritesTag() const
{
    return !tags_.title.empty() || !tags_.artist.empty() || !tags_.album.empty() ||
           !tags_.year.empty() || !tags_.comment.empty() || tags_.track >= 1 ||
           tags_.genreSelection >= 1;
}

bool MergePage::Finish(Run& run)
{
    if (run.aborted)
        return false; // the temporary output goes with the run
    MergeSummary summary{run.target, Clamped(run.frameTotal), Clamped(run.byteTotal),
                         run.header ? run.header->header.kind : VbrHeaderType::None, false};
    bool ok = true;
    if (run.header) {
        // The output begins with the first file's delay and ends with the last one's padding.
        run.header->Finish(summary.frameTotal, *run.written, run.header->lame.delay,
                           run.endPadding);
        ok = run.out->WriteAt(0, run.header->bytes.data(), run.header->bytes.size());
    }
    const int genre =
        tags_.genreSelection >= 1 ? tags_.genreSelection - 1 : static_cast<int>(kNoGenre);
    summary.tag = WritesTag();
    if (ok && summary.tag) {
        const Id3v1Block tag =
            BuildID3v1Tag(tags_.title, tags_.artist, tags_.album, tags_.year, tags_.comment,
                          tags_.track, static_cast<std::uint32_t>(genre));
        ok = run.out->Write(tag.data(), tag.size());
    }
    if (!ok) {
        ReportFailure(run, run.target, SystemErrorReason(run.out->Error()));
        return false;
    }
    if (!CommitOutput(run))
        return false;
    view_.MergeFinished(summary);
    return true;
}

} // namespace keldro
