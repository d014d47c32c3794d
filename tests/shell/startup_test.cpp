// The start-up command line and the help book's place.
#include "common/setting_keys.h"
#include "shell/startup.h"
#include "temp_dir.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace keldro {
namespace {

TEST(StartupTest, ActionAndSourceComeFromDashAThenDashS)
{
    const char* argv[] = {"keldro", "-o", "x", "-a", "MERGE", "-s", "/music/a b.mp3"};
    const std::string line = JoinArguments(7, argv);
    EXPECT_EQ(line, "-o x -a MERGE -s /music/a b.mp3");
    const StartupCommand merge = ParseCommandLine(line);
    EXPECT_EQ(merge.action, StartupAction::Merge);
    EXPECT_EQ(merge.source, "/music/a b.mp3");

    const StartupCommand split = ParseCommandLine("-a  SPLIT  -s  \"/m/x.cue\"  ");
    EXPECT_EQ(split.action, StartupAction::Split);
    EXPECT_EQ(split.source, "\"/m/x.cue\""); // no quote handling
}

TEST(StartupTest, AnythingElseIsIgnoredOrGivesNoAction)
{
    for (const char* line : {"-s /a.mp3 -a SPLIT", "-a SPLIT", "-s /a.mp3", "", "/a.mp3"}) {
        const StartupCommand command = ParseCommandLine(line);
        EXPECT_EQ(command.action, StartupAction::None) << line;
        EXPECT_EQ(command.source, "") << line;
    }
    const StartupCommand lower = ParseCommandLine("-a split -s /a.mp3");
    EXPECT_EQ(lower.action, StartupAction::None); // case matters
    EXPECT_EQ(lower.source, "/a.mp3");
    EXPECT_EQ(ParseCommandLine("-a -s /a.mp3").action, StartupAction::None);
}

void WriteFile(const std::string& path)
{
    std::ofstream(path) << "<!DOCTYPE html>";
}

TEST(StartupTest, HelpBookIsInTheInstallPathWhenThatIsSet)
{
    test::TempDir program;
    WriteFile(program.File("Keldro.html")); // a book beside the program does not count
    MemorySettings settings;
    settings.SetSettingText(setting::kInstallPath, "/usr/share/keldro/");
    EXPECT_EQ(HelpFilePath(settings, program.Path(), "/usr/share/keldro/help"),
              "/usr/share/keldro/Keldro.html");
    settings.SetSettingText(setting::kInstallPath, "C:\\Keldro");
    EXPECT_EQ(HelpFilePath(settings, program.Path(), "/x"), "C:/Keldro/Keldro.html");
}

TEST(StartupTest, HelpBookBesideTheProgramComesBeforeTheInstalledOne)
{
    test::TempDir program;
    test::TempDir installed;
    WriteFile(installed.File("Keldro.html"));
    MemorySettings settings;
    EXPECT_EQ(HelpFilePath(settings, program.Path(), installed.Path()),
              installed.File("Keldro.html"));
    WriteFile(program.File("Keldro.html"));
    EXPECT_EQ(HelpFilePath(settings, program.Path(), installed.Path()),
              program.File("Keldro.html"));
    EXPECT_EQ(HelpFilePath(settings, program.Path() + "/", installed.Path()),
              program.File("Keldro.html"));
}

TEST(StartupTest, HelpBookIsTheInstalledOneWhenNoneIsBesideTheProgram)
{
    test::TempDir program;
    std::filesystem::create_directory(program.File("Keldro.html")); // a folder is no book
    MemorySettings settings;
    settings.SetSettingText(setting::kInstallPath, "");
    // The installed path is given even when nothing is there: opening says so.
    EXPECT_EQ(HelpFilePath(settings, program.Path(), "/usr/share/keldro/help"),
              "/usr/share/keldro/help/Keldro.html");
    EXPECT_EQ(HelpFilePath(settings, program.File("missing"), "/usr/share/keldro/help/"),
              "/usr/share/keldro/help/Keldro.html");
}

} // namespace
} // namespace keldro
