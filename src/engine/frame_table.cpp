// The frame table of a variable-bitrate file, and the mapping of times to
// byte offsets in fast and in frame-accurate handling.
#include "base/interruption.h"
#include "base/user_interaction.h"
#include "engine/mp3_info.h"
#include "string_table.h"

#include <algorithm>
#include <cmath>

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
    if (m_tableLoaded || !HasVbrHeader())
        return true;
    FileReader file = FileReader::Open(m_path);
    if (!file.IsOpen())
        return false;
    return BuildFrameTable(file, ui);
}

bool CMP3Info::BuildFrameTable(FileReader& file, UserInteraction& ui)
{
    if (m_tableLoaded)
        return true;
    m_frameTable.clear();
    m_walked.clear();
    if (!HasVbrHeader())
        return false;
    const std::uint32_t step = FrameTableStep(m_fileSize);
    const std::uint32_t steps = std::max<std::uint32_t>(m_fileSize / step, 1);
    m_frameTable.reserve(m_fileSize / step + 1);
    ui.BeginProgress();

    // The pass starts at the first audio frame with time 0, the origin LocateTime walks from.
    FramePosition position{0.0, 0, m_firstFrameOffset};
    file.Seek(m_firstFrameOffset);
    std::uint32_t skip = 0;
    WalkStep frame;
    while (StepFrame(file, skip, frame)) {
        position = PositionAfter(position.frames + 1, frame.end);
        if (frame.end > std::uint64_t{m_frameTable.size() + 1} * step) {
            m_frameTable.push_back(position);
            ReportProgress(ui, static_cast<int>(m_frameTable.size() * 100 / steps));
        }
        if (UserCancels(ui)) {
            m_frameTable = {};
            ui.EndProgress();
            return false;
        }
    }
    m_tableLoaded = !file.HasFailed();
    m_tableDurationMs = m_tableLoaded ? position.timeMs : 0.0;
    if (!m_tableLoaded)
        m_frameTable = {};
    ReportProgress(ui, 100);
    ui.EndProgress();
    return m_tableLoaded;
}

FramePosition CMP3Info::LocateTime(TimeMs time, FileReader* file) const
{
    FramePosition start{0.0, 0, m_firstFrameOffset};
    if (time == 0)
        return start;
    const double wanted = time;
    for (const FramePosition& checkpoint : m_frameTable) {
        if (std::fabs(checkpoint.timeMs - wanted) < kCheckpointTolerance)
            return checkpoint;
        if (checkpoint.timeMs > wanted)
            break;
        start = checkpoint;
    }
    for (const WalkedPosition& walked : m_walked) {
        if (walked.requested == time)
            return walked.position;
    }
    FileReader opened;
    if (file == nullptr) {
        opened = FileReader::Open(m_path);
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

void CMP3Info::RememberWalk(TimeMs requested, const FramePosition& position) const
{
    constexpr std::size_t kRemembered = 64;
    if (m_walked.size() == kRemembered)
        m_walked.erase(m_walked.begin());
    m_walked.push_back({requested, position});
}

// Frames that start before offset, walking from the checkpoint before it.
std::optional<std::uint32_t> CMP3Info::FramesBefore(FileReader& file, std::uint32_t offset) const
{
    FramePosition start{0.0, 0, m_firstFrameOffset};
    for (const FramePosition& checkpoint : m_frameTable) {
        if (checkpoint.offset > offset)
            break;
        start = checkpoint;
    }
    if (start.offset == offset)
        return start.frames;
    for (const WalkedPosition& walked : m_walked) {
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
    if (!m_tableLoaded || from > to)
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
    if ((reference != 0 && time >= reference) || (reference == 0 && time >= m_durationMs))
        return AudioEnd();
    if (time == 0)
        return m_firstFrameOffset;
    const bool exact = !fast && m_tableLoaded;
    // Frame-accurate times are counted in frames: rescale to that time base.
    const double duration = exact ? m_tableDurationMs : m_durationMs;
    if (reference != 0 && duration != 0 && reference != std::llround(duration))
        time = static_cast<TimeMs>(duration / reference * time);
    if (exact)
        return LocateTime(time, nullptr).offset;
    const double rate = HasVbrHeader() ? m_averageBitrate : m_header.bitrate;
    const double estimate = rate * 0.125 * time + m_firstFrameOffset;
    return static_cast<std::uint32_t>(std::min(estimate, static_cast<double>(AudioEnd())));
}

} // namespace keldro
