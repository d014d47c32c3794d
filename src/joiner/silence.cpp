#include "joiner/silence.h"

#include "base/output_file.h"
#include "common/setting_keys.h"
#include "engine/frame_copy.h"
#include "engine/mp3_info.h"
#include "string_table.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <vector>

namespace keldro {
namespace {

// A block of several silent frames, so that long silences take few writes.
constexpr std::size_t kSilenceBlock = 256 * 1024;

} // namespace

std::string SilenceText(int seconds)
{
    return seconds > 0 ? std::to_string(seconds) : std::string(LoadString(StringId::SilenceNone));
}

std::string AutomaticSilenceText(const SettingsStore& settings)
{
    if (settings.GetSettingInt(setting::kAutoApplySilence, 0) != 1)
        return SilenceText(0);
    return SilenceText(settings.GetSettingInt(setting::kSilenceLength, 0));
}

std::uint32_t SilenceFrameCount(int bitrate, int frameLength, int seconds)
{
    if (frameLength <= 0 || seconds <= 0 || bitrate <= 0)
        return 0;
    const double frames = 1.0 - std::trunc(bitrate * -0.125 * (seconds * 1000.0) / frameLength);
    return static_cast<std::uint32_t>(std::min(frames, 4.0e9));
}

std::uint64_t SilenceBytes(const CMP3Info& source, int seconds)
{
    const FrameHeaderInfo& header = source.Header();
    return std::uint64_t{SilenceFrameCount(header.bitrate, header.frameLength, seconds)} *
           static_cast<std::uint64_t>(std::max(header.frameLength, 0));
}

SilenceResult AppendSilence(OutputFile& out, const CMP3Info& source, int seconds,
                            const std::function<bool()>& keepGoing, WrittenAudio* written)
{
    const FrameHeaderInfo& header = source.Header();
    const std::uint32_t count = SilenceFrameCount(header.bitrate, header.frameLength, seconds);
    if (count == 0)
        return {true, 0, 0};
    // The file's first header, with its protection bit saying "no CRC": a zero
    // CRC word would be a CRC error.
    const std::uint32_t word = source.HeaderWord() | (1u << 16);
    const auto length = static_cast<std::size_t>(header.frameLength);
    const std::size_t perBlock = std::max<std::size_t>(kSilenceBlock / length, 1);
    std::vector<std::uint8_t> block(perBlock * length, 0);
    for (std::size_t at = 0; at < block.size(); at += length) {
        for (std::size_t k = 0; k < 4; ++k)
            block[at + k] = static_cast<std::uint8_t>(word >> (24 - 8 * k));
    }
    SilenceResult result{true, false, count, 0};
    for (std::uint64_t left = count; left > 0 && result.ok;) {
        const std::size_t frames =
            static_cast<std::size_t>(std::min<std::uint64_t>(left, perBlock));
        result.ok = out.Write(block.data(), frames * length);
        if (written) {
            for (std::size_t frame = 0; frame < frames; ++frame)
                written->AddFrameAt(frame * length, static_cast<std::uint32_t>(length));
            written->AddBytes(block.data(), frames * length);
        }
        result.bytes += frames * length;
        left -= frames;
        // Hours of silence are gigabytes: the run must stay stoppable.
        if (result.ok && left > 0 && keepGoing && !keepGoing()) {
            result.ok = false;
            result.stopped = true;
        }
    }
    return result;
}

InsertSilence InsertSilence::Prepare(const SettingsStore& settings, int selectedSeconds,
                                     bool noSelection)
{
    InsertSilence dialog;
    const int stored = settings.GetSettingInt(setting::kSilenceLength, 0);
    dialog.lengthText = std::to_string(selectedSeconds > 0 ? selectedSeconds : stored);
    dialog.automatic = settings.GetSettingInt(setting::kAutoApplySilence, 0) == 1;
    dialog.noSelection = noSelection;
    return dialog;
}

std::optional<int> InsertSilence::Length() const
{
    int value = 0;
    const char* begin = lengthText.data();
    const char* end = begin + lengthText.size();
    if (begin != end && *begin == '+')
        ++begin;
    const auto [stop, error] = std::from_chars(begin, end, value);
    if (begin == end || error != std::errc{} || stop != end)
        return std::nullopt;
    return value;
}

bool InsertSilence::Save(SettingsStore& settings) const
{
    const std::optional<int> length = Length();
    if (!length)
        return false;
    settings.SetSettingInt(setting::kSilenceLength, *length);
    settings.SetSettingInt(setting::kAutoApplySilence, automatic ? 1 : 0);
    return true;
}

} // namespace keldro
