#include "splitter/cut_walk.h"

#include "engine/crc16.h"

#include <algorithm>
#include <system_error>

namespace keldro {
namespace {

// A cut is decided at the latest at the next checkpoint of the walk, one table
// step and a frame on; the window the walk reads through adds no more.
std::uint64_t DecisionLag(const CMP3Info& source)
{
    constexpr std::uint64_t kLongestFrameAndSlack = 64 * 1024;
    return CMP3Info::FrameTableStep(source.FileSize()) + kLongestFrameAndSlack;
}

} // namespace

CutWalk::CutWalk(const CMP3Info& source, std::vector<TimeMs> times, std::vector<CutPiece> pieces)
    : times_(std::move(times)), audioEnd_(source.AudioEnd())
{
    // Only a piece with a header frame in front needs its audio described.
    if (source.HasHeaderFrame()) {
        for (const CutPiece& piece : pieces)
            pieces_.push_back({piece});
        digests_.emplace(source.FirstFrameOffset(),
                         source.FirstFrameOffset() - source.VbrFrameOffset(), DecisionLag(source));
    }
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
    const bool opened = file.IsOpen() && file.Size() == source.FileSize();
    // Every byte from the first frame on is checksummed as the walk passes it.
    // Once a read fails, even if a retry succeeds, no frame is recorded any
    // more: a frame left out would be missing from every piece around it.
    std::uint64_t summed = source.FirstFrameOffset();
    std::uint16_t crc = 0;
    bool lost = false;
    const auto passed = [&](std::uint32_t offset, std::uint32_t end) {
        for (std::span<const std::uint8_t> bytes; !lost && summed < end; summed += bytes.size()) {
            bytes = file.View(summed, static_cast<std::size_t>(end - summed));
            lost = bytes.empty();
            crc = Crc16(bytes, crc);
        }
        if (!lost)
            digests_->FramePassed(offset, end, crc);
    };
    if (opened) {
        source.LocateTimesInOneWalk(
            file, times_,
            [this](std::size_t index, const FramePosition& position) {
                Decide(index, position);
                return !stop_;
            },
            digests_ ? CMP3Info::PassedFrame(passed) : CMP3Info::PassedFrame{});
    }
    const std::lock_guard lock(mutex_);
    failed_ = !opened || file.HasFailed();
    finished_ = true;
    changed_.notify_all();
}

// The pieces that begin or end at the decided time learn their offsets there;
// a piece's audio is ready before its end is announced.
void CutWalk::Decide(std::size_t index, const FramePosition& position)
{
    const TimeMs time = times_[index];
    std::vector<std::pair<std::pair<std::uint32_t, std::uint32_t>, WrittenAudio>> ended;
    for (PieceState& piece : pieces_) {
        if (piece.times.start == time && !piece.begun) {
            piece.begun = digests_->Begin(position.offset);
            piece.start = position.offset;
        }
        if (piece.times.end == time && piece.begun && !piece.ended) {
            piece.ended = true;
            // The walk counts a last frame cut short by the file only to the
            // end of the audio; the writer's own count goes by its header.
            if (position.offset >= audioEnd_)
                continue;
            if (auto audio = digests_->End(piece.start, position.offset))
                ended.push_back({{piece.start, position.offset}, std::move(*audio)});
        }
    }
    const std::lock_guard lock(mutex_);
    for (auto& [range, audio] : ended)
        audio_.insert_or_assign(range, std::move(audio));
    decided_.emplace(time, position);
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

std::optional<WrittenAudio> CutWalk::AudioOf(std::uint32_t from, std::uint32_t to)
{
    const std::lock_guard lock(mutex_);
    const auto found = audio_.find({from, to});
    if (found == audio_.end())
        return std::nullopt;
    WrittenAudio audio = std::move(found->second);
    audio_.erase(found);
    return audio;
}

} // namespace keldro
