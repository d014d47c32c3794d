#include "joiner/merge_check.h"

#include "base/user_interaction.h"
#include "common/setting_keys.h"
#include "joiner/merge_page_view.h"
#include "string_table.h"

#include <cstdio>
#include <filesystem>
#include <unistd.h>

namespace keldro {
namespace {

bool Differs(const MergeEntry& a, const MergeEntry& b)
{
    if (a.Text(MergeColumn::SampleRate) != b.Text(MergeColumn::SampleRate))
        return true;
    const std::string& rateA = a.Text(MergeColumn::Bitrate);
    const std::string& rateB = b.Text(MergeColumn::Bitrate);
    if (rateA != rateB && rateA.find("VBR") == std::string::npos &&
        rateB.find("VBR") == std::string::npos)
        return true;
    const std::string_view mono = LoadString(StringId::ChannelMono);
    return (a.Text(MergeColumn::Channels) == mono) != (b.Text(MergeColumn::Channels) == mono);
}

} // namespace

std::optional<Mismatch> FindMismatch(const MergeList& list)
{
    for (int i = 0; i + 1 < list.RowCount(); ++i) {
        for (int j = i + 1; j < list.RowCount(); ++j) {
            if (Differs(list.Row(i), list.Row(j)))
                return Mismatch{i, j};
        }
    }
    return std::nullopt;
}

std::string FormatConvertList(const MergeList& list)
{
    std::string text = "[FileTotal]\nTotal=";
    text.append(std::to_string(list.RowCount())).append("\n");
    for (int i = 0; i < list.RowCount(); ++i) {
        char section[40];
        std::snprintf(section, sizeof section, "[%s_%02d]\nNAME=", "FileNameItem", i + 1);
        text.append(section).append(list.Row(i).Path()).append("\n");
    }
    return text;
}

std::optional<std::string> WriteConvertList(const MergeList& list, UserInteraction& ui)
{
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::temp_directory_path(error);
    std::string path = (folder / "~ctXXXXXX").string();
    const int fd = error ? -1 : ::mkstemp(path.data());
    bool written = fd >= 0;
    if (written) {
        const std::string text = FormatConvertList(list);
        written = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
        written = ::close(fd) == 0 && written;
    }
    if (written)
        return path;
    ui.ShowMessage(LoadString(StringId::ConvertListFailed), MessageIcon::Error, MessageButtons::Ok);
    return std::nullopt;
}

bool LaunchConverter(ConverterHost& host, MergePageView& view, std::string_view caller,
                     std::string_view action, const std::string& listPath)
{
    const struct
    {
        std::string_view application;
        std::string_view program;
    } converters[] = {{"Wexlin", "wexlin"}, {"Brantor", "brantor"}};
    for (const auto& converter : converters) {
        const std::optional<std::string> folder = host.InstallPath(converter.application);
        if (!folder)
            continue;
        const std::string program = (std::filesystem::path(*folder) / converter.program).string();
        const std::vector<std::string> arguments{
            "-o", std::string(caller), "-a", std::string(action), "-s", listPath};
        if (host.StartProgram(program, arguments))
            return true;
    }
    view.ShowConverterDownload();
    return false;
}

void MergeValidate::ToggleSkipNextTime(SettingsStore& settings)
{
    skipNextTime = !skipNextTime;
    settings.SetSettingInt(setting::kValidateBeforeMerge, skipNextTime ? 0 : 1);
}

} // namespace keldro
