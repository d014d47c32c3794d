#include "cli_interaction.h"

#include <gtest/gtest.h>
#include <sstream>

namespace keldro::cli {
namespace {

TEST(CliInteraction, DrawsABarOnlyWhenAskedTo)
{
    std::ostringstream err;
    CliInteraction ui(err, true);
    ui.SetProgressLabel("正在载入帧...");
    ui.BeginProgress();
    ui.SetProgress(50);
    ui.SetProgress(50); // unchanged: not drawn again
    ui.SetProgress(100);
    ui.EndProgress();
    EXPECT_EQ(err.str(), "\r正在载入帧... [                              ] 0%"
                         "\r正在载入帧... [###############               ] 50%"
                         "\r正在载入帧... [##############################] 100%\n");

    std::ostringstream quiet;
    CliInteraction silent(quiet, false);
    silent.BeginProgress();
    silent.SetProgress(40);
    silent.EndProgress();
    EXPECT_TRUE(quiet.str().empty());
}

TEST(CliInteraction, NeverCancelsAndAnswersWithoutAsking)
{
    std::ostringstream err;
    CliInteraction ui(err, false);
    EXPECT_FALSE(ui.TakeCancelRequest());
    EXPECT_EQ(ui.ShowMessage("question?", MessageIcon::Question, MessageButtons::OkCancel),
              MessageAnswer::Cancel);
    ui.SetAnswer(MessageAnswer::Ok);
    EXPECT_EQ(ui.ShowMessage("again?", MessageIcon::Question, MessageButtons::OkCancel),
              MessageAnswer::Ok);
    EXPECT_EQ(ui.ShowMessage("one row only?", MessageIcon::Question, MessageButtons::YesNo),
              MessageAnswer::Yes);
    EXPECT_EQ(ui.ShowMessage("cannot write", MessageIcon::Error, MessageButtons::AbortRetryIgnore),
              MessageAnswer::Abort);
    EXPECT_FALSE(ui.ChooseFolder("where?", "/tmp"));
    // Questions are answered silently; everything else is told.
    EXPECT_EQ(err.str(), "cannot write\n");
}

} // namespace
} // namespace keldro::cli
