#include "shell/startup.h"

#include "common/setting_keys.h"

#include <filesystem>
#include <system_error>

namespace keldro {
namespace {

constexpr std::string_view kHelpFileName = "Keldro.html";

std::string_view Trim(std::string_view text)
{
    constexpr std::string_view kBlanks = " \t\r\n\v\f";
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

std::string JoinFolder(std::string folder, std::string_view name)
{
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    return folder += name;
}

} // namespace

std::string JoinArguments(int argc, const char* const* argv)
{
    std::string line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1)
            line += ' ';
        line += argv[i];
    }
    return line;
}

StartupCommand ParseCommandLine(std::string_view line)
{
    const std::size_t a = line.find("-a ");
    const std::size_t s = line.find("-s ");
    if (a == std::string_view::npos || s == std::string_view::npos || s < a)
        return {};
    StartupCommand command;
    const std::string_view action = Trim(line.substr(a + 3, s > a + 3 ? s - a - 3 : 0));
    if (action == "MERGE")
        command.action = StartupAction::Merge;
    else if (action == "SPLIT")
        command.action = StartupAction::Split;
    command.source = std::string(Trim(line.substr(s + 3)));
    return command;
}

std::string HelpFilePath(SettingsStore& settings, const std::string& programFolder,
                         const std::string& installedFolder)
{
    std::string folder = settings.GetSettingText(setting::kInstallPath, "");
    for (char& c : folder) {
        if (c == '\\')
            c = '/';
    }
    if (!folder.empty())
        return JoinFolder(folder, kHelpFileName);
    std::string beside = JoinFolder(programFolder, kHelpFileName);
    std::error_code error;
    if (std::filesystem::is_regular_file(beside, error))
        return beside;
    return JoinFolder(installedFolder, kHelpFileName);
}

} // namespace keldro
