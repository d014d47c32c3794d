#include "playback/decoder.h"

#include <cstring>
#include <mpg123.h>
#include <vector>

namespace keldro::playback {

Decoder::~Decoder()
{
    if (handle_) {
        mpg123_close(handle_);
        mpg123_delete(handle_);
    }
}

bool Decoder::Open(const std::string& path, bool prescan)
{
    int error = MPG123_OK;
    handle_ = mpg123_new(nullptr, &error);
    if (!handle_)
        return false;
    // One index entry per frame, so that every frame's file offset is known.
    mpg123_param(handle_, MPG123_INDEX_SIZE, -1000, 0);
    mpg123_param(handle_, MPG123_ADD_FLAGS, MPG123_QUIET, 0);
    if (!ChooseFormat() || !file_.Open(path) ||
        mpg123_replace_reader_handle(handle_, &BufferedFile::ReadCallback,
                                     &BufferedFile::SeekCallback, nullptr) != MPG123_OK ||
        mpg123_open_handle(handle_, &file_) != MPG123_OK)
        return false;
    if (prescan && mpg123_scan(handle_) != MPG123_OK)
        return false;
    int encoding = 0;
    if (mpg123_getformat(handle_, &rate_, &channels_, &encoding) != MPG123_OK || rate_ <= 0 ||
        channels_ <= 0)
        return false;
    const off_t length = mpg123_length(handle_);
    lengthSamples_ = length > 0 ? length : 0;
    FindDataBounds();
    return true;
}

// 16-bit output at the file's own rate and channel count.
bool Decoder::ChooseFormat()
{
    if (mpg123_format_none(handle_) != MPG123_OK)
        return false;
    const long* rates = nullptr;
    size_t count = 0;
    mpg123_rates(&rates, &count);
    for (size_t i = 0; i < count; ++i)
        mpg123_format(handle_, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
    return true;
}

// The audio starts at the first frame mpg123 indexed (after any ID3v2 tag and
// header frame) and ends before an ID3v1 tag.
void Decoder::FindDataBounds()
{
    off_t* offsets = nullptr;
    off_t step = 0;
    size_t fill = 0;
    if (mpg123_index(handle_, &offsets, &step, &fill) == MPG123_OK && fill > 0)
        dataStart_ = offsets[0];
    dataEnd_ = file_.Size();
    char tag[3] = {};
    if (dataEnd_ >= 128 + dataStart_ && file_.ReadAt(dataEnd_ - 128, tag, 3) == 3 &&
        std::memcmp(tag, "TAG", 3) == 0)
        dataEnd_ -= 128;
}

size_t Decoder::Read(int16_t* out, size_t samples)
{
    const size_t wanted = samples * static_cast<size_t>(BytesPerSample());
    size_t got = 0;
    while (got < wanted) {
        size_t done = 0;
        const int result =
            mpg123_read(handle_, reinterpret_cast<unsigned char*>(out) + got, wanted - got, &done);
        got += done;
        if (result == MPG123_NEW_FORMAT)
            continue;
        if (result != MPG123_OK)
            break;
    }
    return got / static_cast<size_t>(BytesPerSample());
}

bool Decoder::Seek(int64_t sample)
{
    return mpg123_seek(handle_, static_cast<off_t>(sample), SEEK_SET) >= 0;
}

int64_t Decoder::IndexedOffset(int64_t frame) const
{
    off_t* offsets = nullptr;
    off_t step = 0;
    size_t fill = 0;
    if (frame < 0 || mpg123_index(handle_, &offsets, &step, &fill) != MPG123_OK || step <= 0)
        return -1;
    const auto entry = static_cast<size_t>(frame / step);
    return entry < fill ? offsets[entry] : -1;
}

int64_t Decoder::CurrentFrameOffset()
{
    const off_t frame = mpg123_tellframe(handle_);
    int64_t offset = IndexedOffset(frame);
    if (offset >= 0 || frame < 0)
        return offset;
    // Without a prescan the index stops a few frames short of a seek target:
    // decode on until it holds the frame, then go back to where we were.
    const off_t sample = mpg123_tell(handle_);
    std::vector<int16_t> scratch(1152 * static_cast<size_t>(channels_));
    while ((offset = IndexedOffset(frame)) < 0 && Read(scratch.data(), 1152) > 0) {
    }
    Seek(sample);
    // A frame the file does not hold: the decoder stands at the end of the audio.
    return offset >= 0 ? offset : dataEnd_;
}

} // namespace keldro::playback
