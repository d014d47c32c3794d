// One MP3 file decoded to 16-bit PCM by libmpg123: exact length after a
// prescan, sample-exact seeking, and the file offset of the frame in hand.
#pragma once

#include "playback/buffered_file.h"

#include <cstddef>
#include <cstdint>
#include <string>

struct mpg123_handle_struct;

namespace keldro::playback {

class Decoder
{
public:
    Decoder() = default;
    ~Decoder();
    Decoder(const Decoder&) = delete;
    Decoder& operator=(const Decoder&) = delete;

    // False when the file cannot be opened or holds no MPEG audio.
    bool Open(const std::string& path, bool prescan);

    long Rate() const { return rate_; }
    int Channels() const { return channels_; }
    int BytesPerSample() const { return channels_ * 2; }
    int64_t LengthSamples() const { return lengthSamples_; }

    // Fills up to `samples` interleaved sample frames; returns how many, 0 at
    // the end of the stream or on a decoding error.
    size_t Read(int16_t* out, size_t samples);
    bool Seek(int64_t sample);

    // File offsets: where the audio data starts, where it ends (before a
    // trailing ID3v1 tag), and the start of the frame being decoded.
    int64_t DataStart() const { return dataStart_; }
    int64_t DataEnd() const { return dataEnd_; }
    int64_t CurrentFrameOffset();

private:
    bool ChooseFormat();
    void FindDataBounds();
    int64_t IndexedOffset(int64_t frame) const;

    BufferedFile file_; // outlives handle_, which reads through it
    mpg123_handle_struct* handle_ = nullptr;
    long rate_ = 0;
    int channels_ = 0;
    int64_t lengthSamples_ = 0;
    int64_t dataStart_ = 0;
    int64_t dataEnd_ = 0;
};

} // namespace keldro::playback
