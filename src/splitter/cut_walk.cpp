#include "splitter/cut_walk.h"

#include <algorithm>
#include <system_error>

namespace keldro {

CutWalk::CutWalk(const CMP3Info& source, std::vector<TimeMs> times) : times_(std::move(times))
{
    // Without a thread to spare the walk runs here, before the first piece.
    try {
        thread_ = std::thread([this, &source] { Walk(source); });
    } catch (const std::system_error&) {
        Walk(source);
    }
}

CutWalk::~CutWalk()
{
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
}

void CutWalk::Walk(const CMP3Info& source)
{
    FileReader file = FileReader::Open(source.Path());
    bool opened = file.IsOpen() && file.Size() == source.FileSize();
    if (opened) {
        source.LocateTimesInOneWalk(file, times_,
                                    [this](std::size_t index, const FramePosition& position) {
                                        const std::lock_guard lock(mutex_);
                                        decided_.emplace(times_[index], position);
                                        changed_.notify_all();
                                        return !stop_;
                                    });
    }
    const std::lock_guard lock(mutex_);
    failed_ = !opened || file.HasFailed();
    finished_ = true;
    changed_.notify_all();
}

std::optional<FramePosition> CutWalk::At(TimeMs time)
{
    if (std::find(times_.begin(), times_.end(), time) == times_.end())
        return std::nullopt;
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return finished_ || decided_.contains(time); });
    if (failed_)
        return std::nullopt;
    const auto found = decided_.find(time);
    return found == decided_.end() ? std::nullopt : std::optional(found->second);
}

} // namespace keldro
