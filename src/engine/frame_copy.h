// Copying audio from a source to an output while counting its frames, so that
// a header put in front announces exactly what follows.
#pragma once

#include "base/file_reader.h"
#include "base/output_file.h"
#include "engine/seek_table.h"

#include <cstdint>
#include <functional>

namespace keldro {

// What a writer learns of the audio it writes behind a header frame, as the
// bytes pass: where each frame lies, for the seek table, and where the last
// frame ends with the CRC up to there, for the LAME tag. Bytes after the last
// frame (an APE tag, junk) are copied but are no audio.
struct WrittenAudio
{
    FramePositions positions; // from the header frame's first byte
    std::uint16_t crc = 0;    // of the bytes up to framesEnd
    std::uint64_t end = 0;    // the next byte's offset from the header frame's first byte
    std::uint64_t framesEnd = 0;

    explicit WrittenAudio(std::uint64_t headerFrameSize = 0)
        : end(headerFrameSize), framesEnd(headerFrameSize)
    {}
    // Audio known without passing its bytes: `bytes` of frames, all of them
    // audio, with their CRC.
    static WrittenAudio Known(std::uint64_t headerFrameSize, FramePositions positions,
                              std::uint64_t bytes, std::uint16_t crc);
    // The frames among the bytes about to pass (offsets into them), then the bytes.
    void AddFrameAt(std::uint64_t offsetInBytes, std::uint32_t length);
    void AddBytes(const std::uint8_t* bytes, std::size_t size);

private:
    std::uint16_t runningCrc_ = 0; // of every byte
};

// Counts the frames of one stream in [next, end) from the bytes as they pass;
// with a WrittenAudio, also where they land and the CRC of every byte copied.
class FrameCounter
{
public:
    FrameCounter(FileReader& source, std::uint32_t streamWord, std::uint64_t next,
                 std::uint64_t end, WrittenAudio* written = nullptr)
        : source_(source), stream_(streamWord), next_(next), end_(end), written_(written)
    {}

    void Feed(const std::uint8_t* chunk, std::uint64_t chunkStart, std::size_t size);
    std::uint32_t Count() const { return count_; }

private:
    void Walk(const std::uint8_t* chunk, std::uint64_t chunkStart, std::size_t size);

    FileReader& source_;
    std::uint32_t stream_;
    std::uint64_t next_;
    std::uint64_t end_;
    WrittenAudio* written_;
    std::uint32_t count_ = 0;
};

enum class CopyOutcome
{
    Done,
    ReadFailed,    // an input error
    SourceChanged, // the source ended before the range did
    WriteFailed,
    Stopped, // by afterUnit, or the process was asked to end
};

// Copies [from, to) to the end of out, feeding the counter. After every unit
// bytes (and at the end) afterUnit is asked whether to go on; without one the
// copy runs through, unless the process is asked to end.
CopyOutcome CopyCountingFrames(FileReader& reader, std::uint64_t from, std::uint64_t to,
                               OutputFile& out, FrameCounter& counter, std::uint64_t unit = 0,
                               const std::function<bool()>& afterUnit = {});

} // namespace keldro
