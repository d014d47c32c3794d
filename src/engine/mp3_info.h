// CMP3Info: what the rest of the system knows about one MP3 file, from its
// first frames, its VBR information header and its last 128 bytes. No audio
// is decoded and no file stays open between calls.
#pragma once

#include "base/file_reader.h"
#include "engine/frame_header.h"
#include "engine/id3v1.h"
#include "engine/info_header.h"
#include "timecue/time_format.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace keldro {

class UserInteraction;

// "none", "xing", "vbri" or "info": the names reports and scripts use.
std::string_view VbrHeaderTypeName(VbrHeaderType type);

// Why the last Analyse returned false.
enum class AnalyseError
{
    None,
    WrongEnding,
    CannotOpen,
    TooLarge, // 4 GiB or more: offsets are 32-bit
    ReadFailed,
};

// A frame found by a search: valid when found is true.
struct FrameHit
{
    bool found = false;
    std::uint32_t offset = 0;
    std::uint32_t word = 0;
};

// A frame boundary of the stream: the frames before it and their duration.
struct FramePosition
{
    double timeMs = 0.0;
    std::uint32_t frames = 0;
    std::uint32_t offset = 0; // the end of the last counted frame

    bool operator==(const FramePosition&) const = default;
};

class CMP3Info
{
public:
    static constexpr std::uint32_t kStatusId3v1 = 1u << 0;
    static constexpr std::uint32_t kStatusStream = 1u << 1;
    static constexpr std::uint64_t kMaxFileSize = 0xFFFFFFFFull;

    CMP3Info() { Reset(); }

    // True when the file was opened and examined; the stream values are usable
    // only when HasStream() is true as well.
    bool Analyse(const std::string& path);
    // The same analysis over an already opened reader (tests, fuzzing); the path
    // is recorded as given.
    bool AnalyseReader(FileReader& file, const std::string& path);
    void Reset();

    // Scans from start for the first audio frame, recording any VBR information
    // header on the way; leaves the accepted frame's header decoded.
    FrameHit FindFirstFrame(FileReader& file, std::uint32_t start);
    static std::uint32_t GetID3v2TagSize(FileReader& file);
    // How many 4-byte reads a search for a frame may make in a file of this size.
    static std::uint64_t ProbeBudget(std::uint64_t fileSize);
    std::uint32_t GetTotalFrames() const;

    // The next header of this stream at or after the reader's position plus
    // skip; leaves the position one byte after the header's first byte.
    FrameHit FindNextFrame(FileReader& file, std::uint32_t skip) const;
    // The nearest frame boundary at or after offset (a confirmed frame start, or
    // the end of the audio) when it lies within 5 frame lengths; else offset.
    std::uint32_t SnapToFrame(FileReader& file, std::uint32_t offset) const;

    // Builds the checkpoint table of a variable-bitrate file, with progress and
    // cancel through ui; true when loaded, already loaded, or not needed.
    bool LoadFrameTable(UserInteraction& ui);
    bool BuildFrameTable(FileReader& file, UserInteraction& ui);
    // The end of the frame during which time falls. Without a file the source
    // is opened by its path.
    FramePosition LocateTime(TimeMs time, FileReader* file) const;
    // What LocateTime gives for each time once LoadFrameTable has run,
    // found in one walk over the stream, the table's checkpoints worked out on
    // the way: the same sums, the same checkpoint rule. Needs no table.
    std::vector<FramePosition> LocateTimesInOneWalk(FileReader& file,
                                                    std::span<const TimeMs> times) const;
    // The same answers, each handed over as soon as the walk has decided it,
    // in the order of the times; the walk ends early when decided returns false,
    // or when the process is asked to end or the file fails to read (the times
    // left are not handed over). passed sees each frame the walk steps over,
    // before any time it ends is decided.
    using DecidedTime = std::function<bool(std::size_t index, const FramePosition& position)>;
    using PassedFrame = std::function<void(std::uint32_t offset, std::uint32_t end)>;
    void LocateTimesInOneWalk(FileReader& file, std::span<const TimeMs> times,
                              const DecidedTime& decided, const PassedFrame& passed = {}) const;
    // reference: the source's duration on the caller's time scale, or 0.
    std::uint32_t TimeToOffset(TimeMs time, TimeMs reference, bool fast) const;
    // The frames in [from, to), two frame boundaries, from the table and two
    // short walks; nothing without a table, or when a walk does not land
    // exactly on a boundary.
    std::optional<std::uint32_t> CountFrames(FileReader& file, std::uint32_t from,
                                             std::uint32_t to) const;
    bool IsFrameTableLoaded() const { return tableLoaded_; }
    const std::vector<FramePosition>& FrameTable() const { return frameTable_; }
    static std::uint32_t FrameTableStep(std::uint32_t fileSize);

    static std::string_view VersionName(std::int32_t version);
    static std::string_view ChannelModeName(std::int32_t channelMode);

    // Xing or VBRI: the file is variable bitrate. An Info header frame is not.
    bool HasVbrHeader() const
    {
        return VbrType() == VbrHeaderType::Xing || VbrType() == VbrHeaderType::Vbri;
    }
    // Any information header frame in front of the audio, Info included.
    bool HasHeaderFrame() const { return VbrType() != VbrHeaderType::None; }
    bool HasStream() const { return (status_ & kStatusStream) != 0; }
    bool HasID3v1() const { return (status_ & kStatusId3v1) != 0; }

    AnalyseError LastError() const { return error_; }
    const std::string& Path() const { return path_; }
    std::uint32_t Status() const { return status_; }
    std::uint32_t FileSize() const { return fileSize_; }
    const TagRecord& Tag() const { return tag_; }
    std::uint32_t HeaderWord() const { return headerWord_; }
    const FrameHeaderInfo& Header() const { return header_; }
    std::uint32_t EstimatedFrames() const { return estimatedFrames_; }
    std::uint32_t DurationMs() const { return durationMs_; }
    double AverageBitrate() const { return averageBitrate_; }
    std::uint32_t VbrFrameOffset() const { return vbrFrameOffset_; }
    std::uint32_t FirstFrameOffset() const { return firstFrameOffset_; }
    // The tag's offset in the file; 0 without a header frame.
    std::uint32_t VbrTagOffset() const
    {
        return infoHeader_.IsPresent() ? vbrFrameOffset_ + infoHeader_.tagOffset : 0;
    }
    VbrHeaderType VbrType() const { return infoHeader_.kind; }
    std::uint32_t VbrFrames() const { return infoHeader_.frames; }
    // The header frame's information header; of kind None without one.
    const InfoHeader& HeaderFrame() const { return infoHeader_; }
    // End of the audio data: the file size less any ID3v1 tag.
    std::uint32_t AudioEnd() const { return HasID3v1() ? fileSize_ - 128 : fileSize_; }

private:
    bool FailAnalysis(AnalyseError error);
    FrameHit AcceptFrame(FileReader& file, std::uint32_t frame, std::uint32_t word,
                         const FrameHeaderInfo& info);
    bool RecognizeInfoHeader(FileReader& file, std::uint32_t frame, const FrameHeaderInfo& info);
    void ForgetHeaderFrame();
    // One frame met by a walk.
    struct WalkStep
    {
        std::uint32_t offset = 0;
        std::uint32_t end = 0; // never beyond the end of the audio
    };
    bool StepFrame(FileReader& file, std::uint32_t& skip, WalkStep& step) const;
    // The boundary after frames audio frames, ending at offset.
    FramePosition PositionAfter(std::uint32_t frames, std::uint32_t offset) const;
    bool IsConfirmedFrameEnd(FileReader& file, std::uint64_t end) const;
    std::uint32_t LongestFrameLength() const;
    std::optional<std::uint32_t> FramesBefore(FileReader& file, std::uint32_t offset) const;
    void ReadTrailingTag(FileReader& file);
    void DeriveTotals(double audioBytes);

    std::string path_;
    std::uint32_t status_ = 0;
    std::uint32_t fileSize_ = 0;
    TagRecord tag_;
    std::uint32_t headerWord_ = 0;
    FrameHeaderInfo header_;
    std::uint32_t estimatedFrames_ = 0;
    std::uint32_t durationMs_ = 0;
    double averageBitrate_ = 0.0;
    std::uint32_t vbrFrameOffset_ = 0;
    std::uint32_t firstFrameOffset_ = 0;
    InfoHeader infoHeader_;
    AnalyseError error_ = AnalyseError::None;
    std::vector<FramePosition> frameTable_;
    bool tableLoaded_ = false;
    double tableDurationMs_ = 0.0; // every frame's time, summed by the table pass
    // Positions recent walks found: a cut's end is the next cut's start, and its
    // frame count is asked for again when the segment is written.
    struct WalkedPosition
    {
        TimeMs requested;
        FramePosition position;
    };
    mutable std::vector<WalkedPosition> walked_;
    void RememberWalk(TimeMs requested, const FramePosition& position) const;
};

} // namespace keldro
