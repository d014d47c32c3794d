// The cut times of a split run located in one walk over the source, on a
// thread of its own, so that each piece can be written as soon as its cuts
// are decided while the walk reads on. On the way the walk works out the
// audio of each piece (its frames' places and CRC), so that writing a piece
// reads the source once more only to copy it.
#pragma once

#include "engine/mp3_info.h"
#include "engine/piece_digests.h"

#include <atomic>
#include <condition_variable>
#include <map>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

namespace keldro {

// A piece between two of the walk's times.
struct CutPiece
{
    TimeMs start = 0;
    TimeMs end = 0;
};

class CutWalk
{
public:
    // Starts walking source's file for times; the info must outlive the walk.
    CutWalk(const CMP3Info& source, std::vector<TimeMs> times, std::vector<CutPiece> pieces = {});
    // Stops the walk where it is and waits for its thread.
    ~CutWalk();
    CutWalk(const CutWalk&) = delete;
    CutWalk& operator=(const CutWalk&) = delete;

    // The position LocateTime gives for time with the frame table loaded,
    // waiting for the walk to decide it; none when the time was not asked,
    // or the source could not be read.
    std::optional<FramePosition> At(TimeMs time);
    // The audio between two positions of a piece's times, once At has given
    // both; none when the walk could not work it out (the writer then does).
    std::optional<WrittenAudio> AudioOf(std::uint32_t from, std::uint32_t to);

private:
    struct PieceState
    {
        CutPiece times;
        bool begun = false;
        bool ended = false;
        std::uint32_t start = 0;
    };

    void Walk(const CMP3Info& source);
    void Decide(std::size_t index, const FramePosition& position);

    std::vector<TimeMs> times_;
    std::uint32_t audioEnd_;
    std::vector<PieceState> pieces_;
    std::optional<PieceDigests> digests_; // the walk's thread only
    std::mutex mutex_;
    std::condition_variable changed_;
    std::map<TimeMs, FramePosition> decided_;
    std::map<std::pair<std::uint32_t, std::uint32_t>, WrittenAudio> audio_;
    bool finished_ = false;
    bool failed_ = false;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

} // namespace keldro
