// The cut times of a split run located in one walk over the source, on a
// thread of its own, so that each piece can be written as soon as its cuts
// are decided while the walk reads on.
#pragma once

#include "engine/mp3_info.h"

#include <atomic>
#include <condition_variable>
#include <map>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace keldro {

class CutWalk
{
public:
    // Starts walking source's file for times; the info must outlive the walk.
    CutWalk(const CMP3Info& source, std::vector<TimeMs> times);
    // Stops the walk where it is and waits for its thread.
    ~CutWalk();
    CutWalk(const CutWalk&) = delete;
    CutWalk& operator=(const CutWalk&) = delete;

    // The position LocateTime gives for time with the frame table loaded,
    // waiting for the walk to decide it; none when the time was not asked,
    // or the source could not be read.
    std::optional<FramePosition> At(TimeMs time);

private:
    void Walk(const CMP3Info& source);

    std::vector<TimeMs> times_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::map<TimeMs, FramePosition> decided_;
    bool finished_ = false;
    bool failed_ = false;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

} // namespace keldro
