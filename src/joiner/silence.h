// CInsertSilenceDlg's state, and the silence it asks for between joined files:
// whole silent frames after a file, made from the header of its first audio frame.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace keldro {

class CMP3Info;
class OutputFile;
class SettingsStore;
struct WrittenAudio;

// "%d" for a length above 0, else "<无>".
std::string SilenceText(int seconds);
// The silence a newly added row gets: the stored length when automatic.
std::string AutomaticSilenceText(const SettingsStore& settings);

// Frames of silence for s seconds after a file: 1 + floor(B * 1000 * s / (8 * L)).
std::uint32_t SilenceFrameCount(int bitrate, int frameLength, int seconds);

struct SilenceResult
{
    bool ok = false;
    bool stopped = false; // keepGoing said no: ok is false, the output unfinished
    std::uint32_t frames = 0;
    std::uint64_t bytes = 0;
};

// Appends the silent frames after the file just copied. Every frame is whole
// and carries no CRC, whatever the file's own frames do. keepGoing, when
// given, is asked between blocks of frames whether to go on.
// With `written`, the frames and bytes are counted into it as they are written.
SilenceResult AppendSilence(OutputFile& out, const CMP3Info& source, int seconds,
                            const std::function<bool()>& keepGoing = {},
                            WrittenAudio* written = nullptr);
// The bytes of that silence, written or planned.
std::uint64_t SilenceBytes(const CMP3Info& source, int seconds);

// CInsertSilenceDlg's state.
struct InsertSilence
{
    std::string lengthText; // the length field as typed
    bool automatic = false;
    bool noSelection = false;
    bool applyToAll = false;

    // Presets from the store, or the first selected row's silence.
    static InsertSilence Prepare(const SettingsStore& settings, int selectedSeconds,
                                 bool noSelection);
    // The length, or nothing when the field holds no integer ("请键入一个整数。").
    std::optional<int> Length() const;
    // "保存(&S)": stores the length and the automatic choice.
    bool Save(SettingsStore& settings) const;
};

} // namespace keldro
