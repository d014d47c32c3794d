// The search for the first audio frame of a file, and the information headers
// (Xing, Info, VBRI) that may sit in front of it.
#include "engine/mp3_info.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace keldro {
namespace {

constexpr std::uint64_t kDefaultProbeBudget = 100'000;
enum class Confirmation
{
    Confirmed,
    Rejected,
    EndOfFile
};

// A lone header-like word inside other data is trusted only when another header
// of the same stream follows one frame (or half a frame) later, give or take a byte.
Confirmation ConfirmByNeighbour(FileReader& file, std::uint32_t frame, std::uint32_t word,
                                const FrameHeaderInfo& info)
{
    const auto length = static_cast<std::uint64_t>(info.frameLength);
    for (const std::uint64_t distance : {length, length / 2}) {
        for (const std::uint64_t at : {distance - 1, distance, distance + 1}) {
            std::uint32_t neighbour = 0;
            if (!file.ReadWordAt(frame + at, neighbour))
                return Confirmation::EndOfFile;
            if (IsValidFrameHeader(neighbour) && IsSameStream(neighbour, word))
                return Confirmation::Confirmed;
        }
    }
    return Confirmation::Rejected;
}

} // namespace

std::uint64_t CMP3Info::ProbeBudget(std::uint64_t fileSize)
{
    return fileSize / 10 >= kDefaultProbeBudget ? fileSize / 4 : kDefaultProbeBudget;
}

std::uint32_t CMP3Info::GetID3v2TagSize(FileReader& file)
{
    std::array<std::uint8_t, 10> head{};
    if (file.ReadAt(0, head.data(), head.size()) != head.size())
        return 0;
    if (std::memcmp(head.data(), "ID3", 3) != 0 || (head[3] != 3 && head[3] != 4))
        return 0;
    // The size bytes are synchsafe; their high bits are taken as they are.
    const std::uint64_t skip = (std::uint64_t{head[6]} << 21 | std::uint64_t{head[7]} << 14 |
                                std::uint64_t{head[8]} << 7 | head[9]) +
                               10;
    return skip > file.Size() ? 0 : static_cast<std::uint32_t>(skip);
}

FrameHit CMP3Info::FindFirstFrame(FileReader& file, std::uint32_t start)
{
    const std::uint64_t budget = ProbeBudget(file.Size());
    std::uint64_t reads = 0;
    std::uint64_t position = start;
    bool headerFrameSeen = false;
    std::uint32_t headerFrameWord = 0;
    for (;;) {
        std::uint32_t word = 0;
        if (!file.ReadWordAt(position, word) || ++reads > budget)
            return {};
        if (!IsValidFrameHeader(word)) {
            ++position;
            continue;
        }
        const auto frame = static_cast<std::uint32_t>(position);
        const FrameHeaderInfo info = DecodeFrameHeader(word);
        // After an information header the audio is the next confirmed header of
        // its kind: the encoder's tag that follows may hold header-like bytes.
        const bool candidate =
            !headerFrameSeen || ((word ^ headerFrameWord) & kHeaderFrameMask) == 0;
        if (!headerFrameSeen && RecognizeInfoHeader(file, frame, info)) {
            headerFrameSeen = true;
            headerFrameWord = word;
            position = std::max(std::uint64_t{frame} + static_cast<std::uint64_t>(info.frameLength),
                                std::uint64_t{VbrTagOffset()} + 1);
            continue;
        }
        if (!candidate) {
            ++position;
            continue;
        }
        switch (ConfirmByNeighbour(file, frame, word, info)) {
        case Confirmation::Confirmed:
            return AcceptFrame(file, frame, word, info);
        case Confirmation::EndOfFile:
            return {};
        case Confirmation::Rejected:
            ++position;
            break;
        }
    }
}

FrameHit CMP3Info::AcceptFrame(FileReader& file, std::uint32_t frame, std::uint32_t word,
                               const FrameHeaderInfo& info)
{
    file.Seek(frame);
    header_ = info;
    return FrameHit{true, frame, word};
}

bool CMP3Info::RecognizeInfoHeader(FileReader& file, std::uint32_t frame,
                                   const FrameHeaderInfo& info)
{
    const InfoHeader header = InfoHeader::Find(file, frame, info);
    if (!header.IsPresent())
        return false;
    infoHeader_ = header;
    vbrFrameOffset_ = frame;
    return true;
}

void CMP3Info::ForgetHeaderFrame()
{
    infoHeader_ = InfoHeader{};
    vbrFrameOffset_ = firstFrameOffset_;
}

} // namespace keldro
