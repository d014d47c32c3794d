// The frame table of a variable-bitrate file, and the mapping of times to
// byte offsets in fast and in frame-accurate handling.
#include "base/interruption.h"
#include "base/user_interaction.h"
#include "engine/mp3_info.h"
#include "string_table.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace keldro {
namespace {

constexpr std::uint32_t kSmallStep = 2'097'152;
constexpr std::uint32_t kLargeStep = 5'242'880;
constexpr std::uint32_t kLargeFileSize = 838'860'800;
// A checkpoint this close to a requested time answers without reading the file.
constexpr double kCheckpointTolerance = 10.0;

// Polls once per frame; true when the user confirms cancelling.
bool UserCancels(UserInteraction& ui)
{
    ui.PumpEvents();
    // A process asked to end does not ask the user.
    if (PendingInterruption() != 0)
        return true;
    if (!ui.TakeCancelRequest())
        return false;
    return ui.ShowMessage(LoadString(StringId::ConfirmCancelLoadingFrames), MessageIcon::Question,
                          MessageButtons::OkCancel) == MessageAnswer::Ok;
}

void ReportProgress(UserInteraction& ui, int percent)
{
    ui.PumpEvents();
    ui.SetProgress(percent);
}

} // namespace

std::uint32_t CMP3Info::FrameTableStep(std::uint32_t fileSize)
{
    return fileSize > kLargeFileSize ? kLargeStep : kSmallStep;
}

bool CMP3Info::LoadFrameTable(UserInteraction& ui)
{
    if (tableLoaded_ || !HasVbrHeader())
        return true;
    FileReader file = FileReader::Open(path_);
    if (!file.IsOpen())
        return false;
    return BuildFrameTable(file, ui);
}

bool CMP3Info::BuildFrameTable(FileReader& file, UserInteraction& ui)
{
    if (tableLoaded_)
        return true;
    frameTable_.clear();
    walked_.clear();
    if (!HasVbrHeader())
        return false;
    const std::uint32_t step = FrameTableStep(fileSize_);
    const std::uint32_t steps = std::max<std::uint32_t>(fileSize_ / step, 1);
    frameTable_.reserve(fileSize_ / step + 1);
    ui.BeginProgress();

    // The pass starts at the first audio frame with time 0, the origin LocateTime walks from.
    FramePosition position{0.0, 0, firstFrameOffset_};
    file.Seek(firstFrameOffset_);
    std::uint32_t skip = 0;
    WalkStep frame;
    while (StepFrame(file, skip, frame)) {
        position = PositionAfter(position.frames + 1, frame.end);
        if (frame.end > std::uint64_t{frameTable_.size() + 1} * step) {
            frameTable_.push_back(position);
            ReportProgress(ui, static_cast<int>(frameTable_.size() * 100 / steps));
        }
        if (UserCancels(ui)) {
            frameTable_ = {};
            ui.EndProgress();
            return false;
        }
    }
    tableLoaded_ = !file.HasFailed();
    tableDurationMs_ = tableLoaded_ ? position.timeMs : 0.0;
    if (!tableLoaded_)
        frameTable_ = {};
    ReportProgress(ui, 100);
    ui.EndProgress();
    return tableLoaded_;
}

FramePosition CMP3Info::LocateTime(TimeMs time, FileReader* file) const
{
    FramePosition start{0.0, 0, firstFrameOffset_};
    if (time == 0)
        return start;
    const double wanted = time;
    for (const FramePosition& checkpoint : frameTable_) {
        if (std::fabs(checkpoint.timeMs - wanted) < kCheckpointTolerance)
            return checkpoint;
        if (checkpoint.timeMs > wanted)
            break;
        start = checkpoint;
    }
    for (const WalkedPosition& walked : walked_) {
        if (walked.requested == time)
            return walked.position;
    }
    FileReader opened;
    if (file == nullptr) {
        opened = FileReader::Open(path_);
        if (!opened.IsOpen())
            return start;
        file = &opened;
    }
    FramePosition position = start;
    file->Seek(start.offset);
    std::uint32_t skip = 0;
    WalkStep frame;
    while (StepFrame(*file, skip, frame)) {
        position = PositionAfter(position.frames + 1, frame.end);
        if (wanted <= position.timeMs)
            break;
    }
    if (!file->HasFailed())
        RememberWalk(time, position);
    return position;
}

// For a time t the table answers with the first checkpoint later than t - 10 ms
// when it is also earlier than t + 10 ms; else the walk's first position at or
// past t. Both are decided in order as the walk passes them.
std::vector<FramePosition> CMP3Info::LocateTimesInOneWalk(FileReader& file,
                                                          std::span<const TimeMs> times) const
{
    std::vector<FramePosition> answers(times.size());
    LocateTimesInOneWalk(file, times, [&](std::size_t index, const FramePosition& position) {
        answers[index] = position;
        return true;
    });
    return answers;
}

void CMP3Info::LocateTimesInOneWalk(FileReader& file, std::span<const TimeMs> times,
                                    const DecidedTime& decided, const PassedFrame& passed) const
{
    std::vector<std::size_t> order(times.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return times[a] < times[b]; });
    const auto wanted = [&](std::size_t k) { return static_cast<double>(times[order[k]]); };
    const FramePosition origin{0.0, 0, firstFrameOffset_};
    std::vector<std::optional<FramePosition>> walked(times.size());
    std::size_t nextDecided = 0;
    bool going = true;
    // Time 0 is the origin, whatever follows.
    for (; going && nextDecided < order.size() && times[order[nextDecided]] == 0; ++nextDecided)
        going = decided(order[nextDecided], origin);
    std::size_t nextWalked = nextDecided;
    const std::uint32_t step = FrameTableStep(fileSize_);
    std::size_t checkpoints = 0;
    FramePosition position = origin;
    file.Seek(firstFrameOffset_);
    std::uint32_t skip = 0;
    WalkStep frame;
    while (going && nextDecided < order.size() && StepFrame(file, skip, frame)) {
        position = PositionAfter(position.frames + 1, frame.end);
        if (passed)
            passed(frame.offset, frame.end);
        for (; nextWalked < order.size() && wanted(nextWalked) <= position.timeMs; ++nextWalked)
            walked[nextWalked] = position;
        // Only a variable-bitrate file gets a table to answer from.
        if (!HasVbrHeader() || frame.end <= std::uint64_t{checkpoints + 1} * step)
            continue;
        ++checkpoints;
        // Like the table pass, a process asked to end stops walking.
        if (PendingInterruption() != 0)
            return;
        // This checkpoint is the first later than t - 10 ms for these times;
        // the walk has passed each one it does not answer itself.
        for (; going && nextDecided < order.size() &&
               position.timeMs > wanted(nextDecided) - kCheckpointTolerance;
             ++nextDecided) {
            const bool near =
                std::fabs(position.timeMs - wanted(nextDecided)) < kCheckpointTolerance;
            going = decided(order[nextDecided], near ? position : *walked[nextDecided]);
        }
    }
    // A walk that could not read on knows nothing of the times beyond.
    if (file.HasFailed())
        return;
    for (; going && nextDecided < order.size(); ++nextDecided)
        going = decided(order[nextDecided], walked[nextDecided].value_or(position));
}

void CMP3Info::RememberWalk(TimeMs requested, const FramePosition& position) const
{
    constexpr std::size_t kRemembered = 64;
    if (walked_.size() == kRemembered)
        walked_.erase(walked_.begin());
    walked_.push_back({requested, position});
}

// Frames that start before offset, walking from the checkpoint before it.
std::optional<std::uint32_t> CMP3Info::FramesBefore(FileReader& file, std::uint32_t offset) const
{
    FramePosition start{0.0, 0, firstFrameOffset_};
    for (const FramePosition& checkpoint : frameTable_) {
        if (checkpoint.offset > offset)
            break;
        start = checkpoint;
    }
    if (start.offset == offset)
        return start.frames;
    for (const WalkedPosition& walked : walked_) {
        if (walked.position.offset == offset)
            return walked.position.frames;
    }
    file.Seek(start.offset);
    std::uint32_t frames = start.frames;
    std::uint32_t skip = 0;
    WalkStep frame;
    while (StepFrame(file, skip, frame) && frame.offset < offset) {
        ++frames;
        if (frame.end >= offset)
            return frame.end == offset ? std::optional(frames) : std::nullopt;
    }
    return std::nullopt;
}

std::optional<std::uint32_t> CMP3Info::CountFrames(FileReader& file, std::uint32_t from,
                                                   std::uint32_t to) const
{
    if (!tableLoaded_ || from > to)
        return std::nullopt;
    const std::optional<std::uint32_t> before = FramesBefore(file, from);
    const std::optional<std::uint32_t> upTo = FramesBefore(file, to);
    if (!before || !upTo || *upTo < *before)
        return std::nullopt;
    return *upTo - *before;
}

std::uint32_t CMP3Info::TimeToOffset(TimeMs time, TimeMs reference, bool fast) const
{
    // A time at the end (not only beyond it) is the end: a last track must
    // take the last frame whole.
    if ((reference != 0 && time >= reference) || (reference == 0 && time >= durationMs_))
        return AudioEnd();
    if (time == 0)
        return firstFrameOffset_;
    const bool exact = !fast && tableLoaded_;
    // Frame-accurate times are counted in frames: rescale to that time base.
    const double duration = exact ? tableDurationMs_ : durationMs_;
    if (reference != 0 && duration != 0 && reference != std::llround(duration))
        time = static_cast<TimeMs>(duration / reference * time);
    if (exact)
        return LocateTime(time, nullptr).offset;
    const double rate = HasVbrHeader() ? averageBitrate_ : header_.bitrate;
    const double estimate = rate * 0.125 * time + firstFrameOffset_;
    return static_cast<std::uint32_t>(std::min(estimate, static_cast<double>(AudioEnd())));
}

} // namespace keldro
