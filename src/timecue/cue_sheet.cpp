#include "timecue/cue_sheet.h"

#include "base/byte_text.h"
#include "base/file_reader.h"
#include "base/user_interaction.h"
#include "string_table.h"
#include "timecue/cue_lines.h"
#include "timecue/time_format.h"

#include <optional>

namespace keldro {
namespace {

// A failure while reading: a format error at a line, or a time error of a track.
struct ReadError
{
    StringId message;
    int number;
};

bool EndsWithIgnoringCase(std::string_view text, std::string_view ending)
{
    if (text.size() < ending.size())
        return false;
    return StartsWithKeyword(text.substr(text.size() - ending.size()), ending);
}

// A bare or relative FILE value is in the sheet's folder; '\' counts as '/' too.
std::string ResolveAudioPath(std::string value, const std::string& sheetPath)
{
    for (char& c : value) {
        if (c == '\\')
            c = '/';
    }
    if (!value.empty() && value.front() == '/')
        return value;
    const std::size_t slash = sheetPath.rfind('/');
    if (slash == std::string::npos)
        return value;
    return sheetPath.substr(0, slash + 1) + value;
}

// The lines before the first TRACK: the sheet's title, performer and audio file.
std::optional<ReadError> ReadSheetHeader(CueLineReader& lines, std::string& title,
                                         std::string& performer, std::string& audio)
{
    const struct
    {
        std::string_view keyword;
        std::string* value;
    } fields[] = {{"PERFORMER", &performer}, {"TITLE", &title}, {"FILE", &audio}};
    std::string_view line;
    while (lines.Next(line)) {
        if (StartsWithKeyword(line, "TRACK")) {
            if (audio.empty())
                return ReadError{StringId::CueFormatError, lines.LineNumber()};
            return std::nullopt;
        }
        for (const auto& field : fields) {
            if (!StartsWithKeyword(line, field.keyword))
                continue;
            if (!QuotedValue(line.substr(field.keyword.size()), *field.value))
                return ReadError{StringId::CueFormatError, lines.LineNumber()};
            break;
        }
    }
    return ReadError{StringId::CueFormatError, lines.LineCount() + 1};
}

std::string Cut(std::string_view text)
{
    return std::string(CutAtCharBoundary(text, kCueTextLimit));
}

// The text after the line's last blank: an INDEX line's time.
std::string_view LastField(std::string_view line)
{
    const std::size_t blank = line.find_last_of(" \t");
    return blank == std::string_view::npos ? line : line.substr(blank + 1);
}

// Reads the lines of one track after its TRACK line; more tells whether another
// TRACK line followed.
std::optional<ReadError> ReadTrack(CueLineReader& lines, int number, CueTrackRecord& record,
                                   bool& more)
{
    record = {};
    int indexCount = 0;
    std::string_view line;
    while ((more = lines.Next(line)) && !StartsWithKeyword(line, "TRACK")) {
        std::string quoted;
        if (StartsWithKeyword(line, "TITLE") || StartsWithKeyword(line, "PERFORMER")) {
            const bool title = StartsWithKeyword(line, "TITLE");
            if (!QuotedValue(line.substr(title ? 5 : 9), quoted))
                return ReadError{StringId::CueFormatError, lines.LineNumber()};
            (title ? record.title : record.performer) = Cut(quoted);
        } else if (StartsWithKeyword(line, "INDEX")) {
            if (indexCount == 2)
                return ReadError{StringId::CueTimeError, number};
            const std::string time = CueTimeToDisplay(LastField(line));
            if (indexCount == 0)
                record.firstIndex = time;
            record.lastIndex = time;
            ++indexCount;
        }
    }
    if (indexCount == 0)
        return ReadError{StringId::CueTimeError, number};
    return std::nullopt;
}

bool RefuseTooLarge(const std::string& path, UserInteraction& ui)
{
    ui.ShowMessage(FormatString(StringId::CueSheetTooLarge, path.c_str()), MessageIcon::Error,
                   MessageButtons::Ok);
    return false;
}

} // namespace

bool CProcessCUEFile::Start(const std::string& path)
{
    sheetPath_ = path;
    isCue_ = EndsWithIgnoringCase(path, ".cue");
    if (!isCue_)
        audioPath_ = path;
    return isCue_;
}

// Every read goes into a fresh reader that replaces this one only when it
// succeeds: a sheet that fails leaves the one that was read before intact.
bool CProcessCUEFile::Read(const std::string& path, UserInteraction& ui)
{
    CProcessCUEFile fresh;
    if (!fresh.Load(path, ui))
        return false;
    *this = std::move(fresh);
    return true;
}

bool CProcessCUEFile::ReadBytes(std::string_view bytes, const std::string& path,
                                UserInteraction& ui)
{
    CProcessCUEFile fresh;
    if (!fresh.LoadBytes(bytes, path, ui))
        return false;
    *this = std::move(fresh);
    return true;
}

bool CProcessCUEFile::Load(const std::string& path, UserInteraction& ui)
{
    if (!Start(path))
        return true;
    // Opened as sources are: without waiting and only as a regular file, so that
    // a FIFO named like a sheet is refused instead of blocking the program.
    FileReader file = FileReader::Open(path);
    if (file.IsOpen() && file.Size() > kLargestCueSheet)
        return RefuseTooLarge(path, ui);
    std::string bytes;
    bool read = file.IsOpen();
    if (read) {
        bytes.resize(static_cast<std::size_t>(file.Size()));
        read = file.ReadAt(0, bytes.data(), bytes.size()) == bytes.size() && !file.HasFailed();
    }
    if (!read) {
        ui.ShowMessage(FormatString(StringId::CannotOpenFile, path.c_str()), MessageIcon::Error,
                       MessageButtons::Ok);
        return false;
    }
    return Parse(bytes, ui);
}

bool CProcessCUEFile::LoadBytes(std::string_view bytes, const std::string& path,
                                UserInteraction& ui)
{
    if (!Start(path))
        return true;
    if (bytes.size() > kLargestCueSheet)
        return RefuseTooLarge(path, ui);
    return Parse(bytes, ui);
}

bool CProcessCUEFile::Parse(std::string_view bytes, UserInteraction& ui)
{
    // A byte-order mark is no part of the first line, which would then be lost.
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        bytes.remove_prefix(3);
    const std::string text = SheetText(bytes);
    CueLineReader lines(text);
    std::optional<ReadError> error = ReadSheetHeader(lines, title_, performer_, audioPath_);
    if (!error) {
        audioPath_ = ResolveAudioPath(audioPath_, sheetPath_);
        bool more = true;
        for (int number = 1; more && !error; ++number) {
            if (number > kMostCueTracks) {
                error = ReadError{StringId::CueTooManyTracks, kMostCueTracks};
                break;
            }
            CueTrackRecord record;
            error = ReadTrack(lines, number, record, more);
            if (!error)
                tracks_.push_back(std::move(record));
        }
    }
    if (!error)
        return true;
    ui.ShowMessage(FormatString(error->message, error->number), MessageIcon::Error,
                   MessageButtons::Ok);
    return false;
}

bool CProcessCUEFile::GetTrack(int index, CueTrackRecord& record) const
{
    if (index < 0 || index >= GetTrackCount())
        return false;
    record = tracks_[static_cast<std::size_t>(index)];
    return true;
}

} // namespace keldro
