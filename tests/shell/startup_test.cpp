// The start-up command line and the help file's place.
#include "common/setting_keys.h"
#include "shell/startup.h"

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

TEST(StartupTest, HelpFileIsInTheInstallPathOrBesideTheProgram)
{
    MemorySettings settings;
    EXPECT_EQ(HelpFilePath(settings, "/opt/keldro/bin"), "/opt/keldro/bin/Keldro.chm");
    settings.SetSettingText(setting::kInstallPath, "/usr/share/keldro/");
    EXPECT_EQ(HelpFilePath(settings, "/opt/keldro/bin"), "/usr/share/keldro/Keldro.chm");
    settings.SetSettingText(setting::kInstallPath, "C:\\Keldro");
    EXPECT_EQ(HelpFilePath(settings, "/x"), "C:/Keldro/Keldro.chm");
}

} // namespace
} // namespace keldro
