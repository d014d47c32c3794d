#include "base/output_file.h"
#include "base/system_error_text.h"
#include "base/user_interaction.h"
#include "string_table.h"
#include "timecue/cue_lines.h"
#include "timecue/cue_sheet.h"
#include "timecue/time_format.h"

#include <cstdio>

namespace keldro {
namespace {

void AppendLine(std::string& sheet, std::string_view a, std::string_view b = {},
                std::string_view c = {})
{
    sheet.append(a).append(b).append(c).append("\r\n");
}

std::string Quoted(std::string_view value)
{
    std::string quoted = "\"";
    quoted.append(value).append("\"");
    return quoted;
}

bool IsMp3Path(std::string_view path)
{
    return path.size() >= 4 && StartsWithKeyword(path.substr(path.size() - 4), ".mp3");
}

} // namespace

std::string FormatCueSheet(std::string_view audioPath, std::string_view performer,
                           std::string_view title, const std::vector<CueTrackRecord>& records)
{
    // Values go in as they are: the reader takes everything up to the last
    // quote, so quotes inside a title read back whole.
    std::string sheet;
    AppendLine(sheet, "PERFORMER ", Quoted(performer));
    AppendLine(sheet, "TITLE ", Quoted(title));
    AppendLine(sheet, "FILE ", Quoted(audioPath), IsMp3Path(audioPath) ? " MP3" : " WAV");
    for (std::size_t i = 0; i < records.size(); ++i) {
        char number[24];
        std::snprintf(number, sizeof number, "%02zu", i + 1);
        AppendLine(sheet, "  TRACK ", number, " AUDIO");
        AppendLine(sheet, "    TITLE ", Quoted(records[i].title));
        AppendLine(sheet, "    PERFORMER ", Quoted(records[i].performer));
        AppendLine(sheet, "    INDEX 01 ", DisplayTimeToCue(records[i].firstIndex));
    }
    return sheet;
}

bool WriteCueSheet(const std::string& sheetPath, std::string_view audioPath,
                   std::string_view performer, std::string_view title,
                   const std::vector<CueTrackRecord>& records, UserInteraction& ui, bool mayReplace)
{
    const std::string sheet = FormatCueSheet(audioPath, performer, title, records);
    OutputFile out(sheetPath);
    OutputFile::CommitResult committed = OutputFile::CommitResult::Failed;
    if (out.Write(sheet.data(), sheet.size()))
        committed = out.Commit(mayReplace);
    // A file that appeared there meanwhile is asked about as one there before.
    if (committed == OutputFile::CommitResult::TargetExists) {
        if (ui.ShowMessage(FormatString(StringId::ConfirmOverwrite, sheetPath.c_str()),
                           MessageIcon::Question, MessageButtons::YesNo) != MessageAnswer::Yes)
            return false;
        committed = out.Commit(true);
    }
    if (committed == OutputFile::CommitResult::Done)
        return true;
    std::string message = FormatString(StringId::CannotCreateFile, sheetPath.c_str());
    if (const std::string reason = SystemErrorReason(out.Error()); !reason.empty())
        message += "\n" + reason;
    ui.ShowMessage(message, MessageIcon::Error, MessageButtons::Ok);
    return false;
}

} // namespace keldro
