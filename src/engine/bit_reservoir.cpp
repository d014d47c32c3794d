#include "engine/bit_reservoir.h"

#include "engine/big_endian.h"
#include "engine/frame_header.h"
#include "engine/mp3_info.h"

#include <algorithm>
#include <vector>

namespace keldro {
namespace {

// The decoder's own delay, in samples: the overlap of the hybrid filter bank.
constexpr int kDecoderDelay = 529;
constexpr int kMaxEncoderDelay = 4095;
// The longest Layer III frame (MPEG 1, 320 kbit/s, 32 kHz, padded) and how
// many of them are read before a cut: more than the reservoir and the frames
// a decoder's state needs, at any bitrate.
constexpr std::uint32_t kLongestFrame = 1441;
constexpr std::uint32_t kLookBack = 12 * kLongestFrame;

struct FrameSpan
{
    std::uint32_t offset = 0;
    std::uint32_t word = 0;
};

// The frames in front of the cut, nearest last: the first header of the
// stream from which a chain of frames lands exactly on the cut. A false header
// in audio data rarely starts such a chain, and where one does, the chain
// meets the true frames before the cut.
std::vector<FrameSpan> FramesBefore(const std::vector<std::uint8_t>& bytes, std::uint32_t base,
                                    std::uint32_t cut, std::uint32_t stream)
{
    for (std::size_t start = 0; start + 4 <= bytes.size() && base + start < cut; ++start) {
        std::vector<FrameSpan> chain;
        std::size_t at = start;
        while (base + at < cut && at + 4 <= bytes.size()) {
            const std::uint32_t word = BigEndian(bytes, at, 4);
            if (!IsValidFrameHeader(word) || !IsSameStream(word, stream))
                break;
            chain.push_back({static_cast<std::uint32_t>(base + at), word});
            at += static_cast<std::size_t>(FrameLengthOfHeader(word));
        }
        if (base + at == cut && !chain.empty())
            return chain;
    }
    return {};
}

// Where a frame's audio data begins, in bytes before its side information
// ends: the first 9 bits (MPEG 1) or 8 bits (MPEG 2 and 2.5) of the side
// information.
int MainDataBegin(const std::vector<std::uint8_t>& bytes, std::size_t frame, std::uint32_t word)
{
    const FrameHeaderInfo info = DecodeFrameHeader(word);
    const std::size_t side = frame + 4 + (info.protection == 0 ? 2 : 0);
    if (side + 2 > bytes.size())
        return 0;
    return info.version == 3 ? (bytes[side] << 1 | bytes[side + 1] >> 7) : bytes[side];
}

// Bytes of audio data a frame holds: what follows its side information.
int MainDataSize(std::uint32_t word)
{
    const FrameHeaderInfo info = DecodeFrameHeader(word);
    return info.frameLength - 4 - (info.protection == 0 ? 2 : 0) - SideInfoSize(info);
}

// How many frames before frame `index` of the chain its audio data reaches into.
int FramesReachedBack(const std::vector<FrameSpan>& chain, std::size_t index, int mainDataBegin)
{
    int frames = 0;
    for (std::size_t i = index; mainDataBegin > 0 && i > 0; --i, ++frames)
        mainDataBegin -= MainDataSize(chain[i - 1].word);
    return mainDataBegin > 0 ? frames + 1 : frames;
}

} // namespace

int MostCarriedFrames(int samplesPerFrame)
{
    return samplesPerFrame > 0 ? (kMaxEncoderDelay + kDecoderDelay) / samplesPerFrame : 0;
}

CarriedStart PlanCarriedStart(const CMP3Info& source, FileReader& file, std::uint32_t cut)
{
    const std::uint32_t first = source.FirstFrameOffset();
    if (cut <= first || source.Header().layer != 3)
        return {cut, 0, true};
    const std::uint32_t base = cut - std::min(cut - first, kLookBack);
    std::vector<std::uint8_t> bytes(cut - base + 4 + 2 + 2);
    bytes.resize(file.ReadAt(base, bytes.data(), bytes.size()));
    std::vector<FrameSpan> chain = FramesBefore(bytes, base, cut, source.HeaderWord());
    if (chain.empty())
        return {cut, 0, false};
    chain.push_back({cut, cut + 4 <= base + bytes.size() ? BigEndian(bytes, cut - base, 4) : 0});
    // The cut frame needs its own audio data and its predecessor's samples; a
    // granule of MPEG 2 spans a whole frame, so there the two before it.
    const int stateFrames = source.Header().version == 3 ? 1 : 2;
    const std::size_t cutIndex = chain.size() - 1;
    int needed = 0;
    for (int back = 0; back <= stateFrames && static_cast<std::size_t>(back) <= cutIndex; ++back) {
        const std::size_t index = cutIndex - static_cast<std::size_t>(back);
        const int begin = MainDataBegin(bytes, chain[index].offset - base, chain[index].word);
        needed = std::max(needed, back + FramesReachedBack(chain, index, begin));
    }
    const int most = std::min<int>(MostCarriedFrames(SamplesPerFrame(source.Header())),
                                   static_cast<int>(cutIndex));
    const int carried = std::min(needed, most);
    return {chain[cutIndex - static_cast<std::size_t>(carried)].offset, carried, carried == needed};
}

} // namespace keldro
