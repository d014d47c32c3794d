// Sheets laid out the way common rippers and players write them.
#include "scripted_interaction.h"
#include "timecue/cue_sheet.h"

#include <gtest/gtest.h>

namespace keldro {
namespace {

std::vector<CueTrackRecord> ReadSheet(const std::string& text, CProcessCUEFile& cue)
{
    test::ScriptedInteraction ui;
    EXPECT_TRUE(cue.ReadBytes(text, "/music/album/sheet.cue", ui));
    EXPECT_TRUE(ui.messages.empty()) << ui.messages.front().text;
    std::vector<CueTrackRecord> tracks(static_cast<std::size_t>(cue.GetTrackCount()));
    for (int i = 0; i < cue.GetTrackCount(); ++i)
        cue.GetTrack(i, tracks[static_cast<std::size_t>(i)]);
    return tracks;
}

// An image of the whole disc with gaps between tracks, CD-Text and REM lines.
TEST(RealSheets, SingleImageWithGaps)
{
    const std::string sheet = "REM GENRE \"Progressive Rock\"\r\n"
                              "REM DATE 1973\r\n"
                              "REM DISCID 9D0B5D0C\r\n"
                              "REM COMMENT \"ExactAudioCopy v1.6\"\r\n"
                              "CATALOG 0724382975229\r\n"
                              "PERFORMER \"Pink Floyd\"\r\n"
                              "TITLE \"The Dark Side of the Moon\"\r\n"
                              "FILE \"Pink Floyd - The Dark Side of the Moon.mp3\" MP3\r\n"
                              "  TRACK 01 AUDIO\r\n"
                              "    TITLE \"Speak to Me\"\r\n"
                              "    PERFORMER \"Pink Floyd\"\r\n"
                              "    ISRC GBAYE7300101\r\n"
                              "    INDEX 01 00:00:00\r\n"
                              "  TRACK 02 AUDIO\r\n"
                              "    TITLE \"Breathe (In the Air)\"\r\n"
                              "    PERFORMER \"Pink Floyd\"\r\n"
                              "    FLAGS DCP\r\n"
                              "    INDEX 00 01:05:47\r\n"
                              "    INDEX 01 01:07:32\r\n"
                              "  TRACK 03 AUDIO\r\n"
                              "    TITLE \"On the Run\"\r\n"
                              "    PREGAP 00:02:00\r\n"
                              "    INDEX 01 03:56:00\r\n"
                              "    POSTGAP 00:01:00\r\n";
    CProcessCUEFile cue;
    const auto tracks = ReadSheet(sheet, cue);
    EXPECT_EQ(cue.GetSheetPerformer(), "Pink Floyd");
    EXPECT_EQ(cue.GetSheetTitle(), "The Dark Side of the Moon");
    EXPECT_EQ(cue.GetAudioPath(), "/music/album/Pink Floyd - The Dark Side of the Moon.mp3");
    EXPECT_EQ(tracks, (std::vector<CueTrackRecord>{
                          {"Speak to Me", "Pink Floyd", "0:00.000", "0:00.000"},
                          {"Breathe (In the Air)", "Pink Floyd", "1:05.470", "1:07.320"},
                          {"On the Run", "", "3:56.000", "3:56.000"}}));
}

// One FILE per track: the header's FILE is the audio, later ones are passed over.
TEST(RealSheets, OneFilePerTrack)
{
    const std::string sheet = "PERFORMER \"Various\"\n"
                              "TITLE \"Mix\"\n"
                              "FILE \"01 - Intro.mp3\" MP3\n"
                              "  TRACK 01 AUDIO\n"
                              "    TITLE \"Intro\"\n"
                              "    INDEX 01 00:00:00\n"
                              "FILE \"02 - Song.mp3\" MP3\n"
                              "  TRACK 02 AUDIO\n"
                              "    TITLE \"Song\"\n"
                              "    INDEX 00 00:00:00\n"
                              "    INDEX 01 00:00:33\n";
    CProcessCUEFile cue;
    const auto tracks = ReadSheet(sheet, cue);
    EXPECT_EQ(cue.GetAudioPath(), "/music/album/01 - Intro.mp3");
    ASSERT_EQ(tracks.size(), 2u);
    EXPECT_EQ(tracks[1].title, "Song");
    EXPECT_EQ(tracks[1].firstIndex, "0:00.000");
    EXPECT_EQ(tracks[1].lastIndex, "0:00.330");
}

// A player's sheet: a byte-order mark, UTF-8 titles, lower-case keywords, tabs.
TEST(RealSheets, PlayerSheetWithByteOrderMarkAndUnicode)
{
    const std::string sheet = "\xEF\xBB\xBF"
                              "PERFORMER \"王菲\"\r\n"
                              "TITLE \"唱游\"\r\n"
                              "REM COMPOSER \"\"\r\n"
                              "file \"唱游.mp3\" MP3\r\n"
                              "\ttrack 01 audio\r\n"
                              "\t\ttitle \"红豆\"\r\n"
                              "\t\tperformer \"王菲\"\r\n"
                              "\t\tindex 01 00:00:00\r\n"
                              "\ttrack 02 audio\r\n"
                              "\t\ttitle \"人间\"\r\n"
                              "\t\tindex 01 04:18:65\r\n";
    CProcessCUEFile cue;
    const auto tracks = ReadSheet(sheet, cue);
    EXPECT_EQ(cue.GetSheetPerformer(), "王菲");
    EXPECT_EQ(cue.GetAudioPath(), "/music/album/唱游.mp3");
    EXPECT_EQ(tracks, (std::vector<CueTrackRecord>{{"红豆", "王菲", "0:00.000", "0:00.000"},
                                                   {"人间", "", "4:18.650", "4:18.650"}}));
}

// An old burner's sheet: CD-Text file, Windows path, CR CR LF line ends.
TEST(RealSheets, BurnerSheetWithWindowsPathAndDoubledLineEnds)
{
    const std::string sheet = "CDTEXTFILE \"disc.cdt\"\r\r\n"
                              "FILE \"C:\\Rips\\disc.mp3\" MP3\r\r\n"
                              "TRACK 01 AUDIO\r\r\n"
                              "  INDEX 01 00:00:00\r\r\n"
                              "TRACK 02 AUDIO\r\r\n"
                              "  SONGWRITER \"Someone\"\r\r\n"
                              "  INDEX 01 62:05:00\r\r\n";
    CProcessCUEFile cue;
    const auto tracks = ReadSheet(sheet, cue);
    EXPECT_EQ(cue.GetAudioPath(), "/music/album/C:/Rips/disc.mp3");
    ASSERT_EQ(tracks.size(), 2u);
    EXPECT_EQ(tracks[1].firstIndex, "1:02:05.000");
}

} // namespace
} // namespace keldro
