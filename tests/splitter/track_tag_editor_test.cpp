#include "common/setting_keys.h"
#include "scripted_interaction.h"
#include "splitter/track_tag_editor.h"

#include <gtest/gtest.h>

namespace keldro {
namespace {

TEST(TrackTagEditor, ConstructionStoresMissingOptions)
{
    MemorySettings settings;
    settings.SetSettingInt(setting::kId3AutoSequence, 1);
    TrackTagEditor editor(settings);
    EXPECT_TRUE(editor.AutoSequence());
    EXPECT_TRUE(editor.AutoTrack());
    EXPECT_TRUE(editor.OnlyIfEmpty());
    EXPECT_EQ(settings.GetSettingInt(setting::kId3AutoTrack, -1), 1);
    EXPECT_EQ(settings.GetSettingInt(setting::kId3AutoTrackIfNull, -1), 1);
}

TEST(TrackTagEditor, AutoSequenceAddsOrRemovesTheWildcard)
{
    MemorySettings settings;
    TrackTagEditor editor(settings);
    editor.values[TrackTagEditor::Title] = "Intro";
    editor.ToggleAutoSequence();
    EXPECT_EQ(editor.values[TrackTagEditor::Title], "Intro%S");
    editor.ToggleAutoSequence();
    EXPECT_EQ(editor.values[TrackTagEditor::Title], "Intro");
    editor.values[TrackTagEditor::Title] = "A%SB";
    editor.ToggleAutoSequence();
    EXPECT_EQ(editor.values[TrackTagEditor::Title], "A%SB"); // no second one
    editor.values[TrackTagEditor::Title] = "A%SB%S";
    editor.ToggleAutoSequence();
    EXPECT_EQ(editor.values[TrackTagEditor::Title], "AB");
}

TEST(TrackTagEditor, TrackFieldFollowsTheOptions)
{
    MemorySettings settings;
    TrackTagEditor editor(settings);
    editor.sourceTrack = 0;
    editor.ToggleOnlyIfEmpty(); // off
    editor.ToggleOnlyIfEmpty(); // on again: auto track, only if empty, none: %S
    EXPECT_EQ(editor.values[TrackTagEditor::Track], "%S");
    editor.sourceTrack = 5;
    editor.ToggleAutoTrack(); // off: the source's number
    EXPECT_FALSE(editor.OnlyIfEmptyEnabled());
    EXPECT_EQ(editor.values[TrackTagEditor::Track], "5");
    editor.ToggleAutoTrack(); // on, only if empty, the source has 5
    EXPECT_EQ(editor.values[TrackTagEditor::Track], "5");
    editor.ToggleOnlyIfEmpty(); // off: always %S
    EXPECT_EQ(editor.values[TrackTagEditor::Track], "%S");
    editor.sourceTrack = 0;
    editor.ToggleAutoTrack();
    EXPECT_EQ(editor.values[TrackTagEditor::Track], "0");
}

TEST(TrackTagEditor, GenreIsPreselectedByItsName)
{
    MemorySettings settings;
    TrackTagEditor editor(settings);
    editor.genreName = "Rock";
    editor.Open();
    EXPECT_EQ(editor.genreChoice, 18);
    EXPECT_EQ(editor.ChosenGenreName(), "Rock");
    editor.genreName = "";
    editor.Open();
    EXPECT_EQ(editor.genreChoice, 0);
    editor.genreName = "No Such Genre";
    editor.Open();
    EXPECT_EQ(editor.genreChoice, 0);
    EXPECT_EQ(editor.ChosenGenreName(), "");
    EXPECT_EQ(TrackTagEditor::GenreEntries().size(), 149u);
}

TEST(TrackTagEditor, ResetAsksThenTakesTheSourcesValues)
{
    MemorySettings settings;
    test::ScriptedInteraction ui;
    TrackTagEditor editor(settings);
    editor.resetValues = {"T", "2001", "Al", "Ar", "C", "%S"};
    editor.values = {"x", "x", "x", "x", "x", "x"};
    editor.sourceGenrePosition = 256; // the source has no genre
    editor.genreChoice = 5;
    ui.answers = {MessageAnswer::No, MessageAnswer::Yes};
    editor.Reset(ui);
    EXPECT_EQ(editor.values[TrackTagEditor::Title], "x");
    editor.Reset(ui);
    EXPECT_EQ(editor.values, editor.resetValues);
    EXPECT_EQ(editor.genreChoice, 0);
    EXPECT_EQ(ui.messages.at(0).text,
              "该操作将会重置你刚才选择进行分割的 MP3 文件的 ID3 标签信息。你确定要继续吗?");
    EXPECT_EQ(ui.messages.at(0).buttons, MessageButtons::YesNo);
}

TEST(TrackTagEditor, OptionsAreStoredOnOkOnly)
{
    MemorySettings settings;
    {
        TrackTagEditor cancelled(settings);
        cancelled.ToggleAutoSequence();
        cancelled.ToggleAutoTrack();
    }
    EXPECT_EQ(settings.GetSettingInt(setting::kId3AutoSequence, -1), 0);
    EXPECT_EQ(settings.GetSettingInt(setting::kId3AutoTrack, -1), 1);
    TrackTagEditor accepted(settings);
    accepted.ToggleAutoSequence();
    accepted.ToggleOnlyIfEmpty();
    accepted.AcceptForAll();
    EXPECT_TRUE(accepted.applyToAll);
    EXPECT_EQ(settings.GetSettingInt(setting::kId3AutoSequence, -1), 1);
    EXPECT_EQ(settings.GetSettingInt(setting::kId3AutoTrackIfNull, -1), 0);
}

} // namespace
} // namespace keldro
