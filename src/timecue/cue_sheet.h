// CProcessCUEFile and the CUE writer: the reader that gives the split page its audio file and
// tracks, and the writer that saves a split list as a sheet. Sheets are bytes, read and written
// without conversion; times are minutes:seconds:hundredths.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace keldro {

class UserInteraction;

// Texts of a record hold at most this many bytes, cut at a whole character.
inline constexpr std::size_t kCueTextLimit = 255;
// Larger sheets, or sheets of more tracks, are refused: far beyond any disc,
// and reading them would take memory without bound.
inline constexpr std::size_t kLargestCueSheet = 1024 * 1024;
inline constexpr int kMostCueTracks = 9999;

struct CueTrackRecord
{
    std::string title;
    std::string performer;
    std::string firstIndex; // display style; for the writer: the track's start
    std::string lastIndex;  // the second INDEX, or the first when there is one

    bool operator==(const CueTrackRecord&) const = default;
};

class CProcessCUEFile
{
public:
    // Loads a sheet (a path ending in .cue), or passes any other file through as
    // the audio file. Failures are told to the user through ui and leave the
    // reader as it was.
    bool Read(const std::string& path, UserInteraction& ui);
    // The same over a sheet's bytes.
    bool ReadBytes(std::string_view bytes, const std::string& path, UserInteraction& ui);

    bool IsCueSheet() const { return isCue_; }
    int GetTrackCount() const { return static_cast<int>(tracks_.size()); }
    const std::string& GetAudioPath() const { return audioPath_; }
    const std::string& GetSheetPath() const { return sheetPath_; }
    const std::string& GetSheetTitle() const { return title_; }
    const std::string& GetSheetPerformer() const { return performer_; }
    // For a sheet whose audio file cannot be loaded and the user picked another.
    void SetAudioPath(std::string path) { audioPath_ = std::move(path); }
    bool GetTrack(int index, CueTrackRecord& record) const;

private:
    bool Load(const std::string& path, UserInteraction& ui);
    bool LoadBytes(std::string_view bytes, const std::string& path, UserInteraction& ui);
    bool Start(const std::string& path);
    bool Parse(std::string_view bytes, UserInteraction& ui);

    bool isCue_ = false;
    std::string audioPath_;
    std::string sheetPath_;
    std::string title_;
    std::string performer_;
    std::vector<CueTrackRecord> tracks_;
};

// The sheet's text, every line ending in CR LF.
std::string FormatCueSheet(std::string_view audioPath, std::string_view performer,
                           std::string_view title, const std::vector<CueTrackRecord>& records);
// Writes the sheet whole or not at all; a failure is told to the user through
// ui. An existing file is replaced only when mayReplace says the user agreed.
bool WriteCueSheet(const std::string& sheetPath, std::string_view audioPath,
                   std::string_view performer, std::string_view title,
                   const std::vector<CueTrackRecord>& records, UserInteraction& ui,
                   bool mayReplace = false);

} // namespace keldro
