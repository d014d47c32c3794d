#include "engine/id3v1.h"
#include "mp3_builder.h"

#include <cstring>
#include <gtest/gtest.h>

namespace keldro {
namespace {

Id3v1Block BlockOf(const test::Bytes& bytes)
{
    Id3v1Block block{};
    std::memcpy(block.data(), bytes.data(), block.size());
    return block;
}

std::string FieldAt(const Id3v1Block& block, std::size_t at, std::size_t width)
{
    return std::string(reinterpret_cast<const char*>(block.data() + at), width);
}

TEST(ParseID3v1Tag, TrackLayoutDependsOnByte125)
{
    Id3v1Block block = BlockOf(test::Id3v1Tag("T", "A", "B", "1999", "", 0, 17));
    std::memset(block.data() + 97, 'c', 28);
    block[125] = 0;
    block[126] = 7;
    TagRecord tag = ParseID3v1Tag(block);
    EXPECT_EQ(tag.track, 7u);
    EXPECT_EQ(tag.comment, std::string(28, 'c'));
    EXPECT_EQ(tag.genre, 17u);
    EXPECT_EQ(GenreName(tag.genre), "Rock");

    block[125] = 'x';
    block[126] = 'y';
    tag = ParseID3v1Tag(block);
    EXPECT_EQ(tag.track, 0u);
    EXPECT_EQ(tag.comment, std::string(28, 'c') + "xy");
    EXPECT_EQ(tag.genre, 17u);
}

TEST(ParseID3v1Tag, FieldsEndAtZeroOrWidthAndLoseTrailingBlanks)
{
    Id3v1Block block = BlockOf(test::Id3v1Tag("Song   ", "", "", "", "", 0, 200));
    std::memset(block.data() + 33, 'a', 30); // a full-width field has no terminator
    std::memcpy(block.data() + 93, "20245", 4);
    const TagRecord tag = ParseID3v1Tag(block);
    EXPECT_EQ(tag.title, "Song");
    EXPECT_EQ(tag.artist, std::string(30, 'a'));
    EXPECT_EQ(tag.album, "");
    EXPECT_EQ(tag.year, "2024");
    EXPECT_EQ(tag.genre, 200u);
    EXPECT_EQ(GenreName(tag.genre), "");
}

TEST(ParseID3v1Tag, RecognisesTheMarker)
{
    Id3v1Block block = BlockOf(test::Id3v1Tag("", "", "", "", "", 0, 255));
    EXPECT_TRUE(IsID3v1Tag(block));
    block[2] = 'X';
    EXPECT_FALSE(IsID3v1Tag(block));
}

TEST(BuildID3v1Tag, LayoutAndWidths)
{
    const std::string title35(35, 't');
    const Id3v1Block block = BuildID3v1Tag(title35, "Artist", "Album", "19999", "", 0, 17);
    EXPECT_EQ(FieldAt(block, 0, 3), "TAG");
    EXPECT_EQ(FieldAt(block, 3, 30), std::string(30, 't'));
    EXPECT_EQ(FieldAt(block, 33, 7), std::string("Artist\0", 7));
    EXPECT_EQ(FieldAt(block, 93, 4), "1999");
    EXPECT_EQ(block[125], 0);
    EXPECT_EQ(block[126], 0);
    EXPECT_EQ(block[127], 17);
}

TEST(BuildID3v1Tag, CommentWidthFollowsTheTrack)
{
    const std::string comment40(40, 'c');
    Id3v1Block block = BuildID3v1Tag("", "", "", "", comment40, 3, 255);
    EXPECT_EQ(FieldAt(block, 97, 28), std::string(28, 'c'));
    EXPECT_EQ(block[125], 0);
    EXPECT_EQ(block[126], 3);

    block = BuildID3v1Tag("", "", "", "", comment40, 0, 255);
    EXPECT_EQ(FieldAt(block, 97, 30), std::string(30, 'c'));

    // A negative track writes 0 but still keeps the comment to 28 bytes.
    block = BuildID3v1Tag("", "", "", "", comment40, -4, 255);
    EXPECT_EQ(block[125], 0);
    EXPECT_EQ(block[126], 0);
    block = BuildID3v1Tag("", "", "", "", "", 300, 255);
    EXPECT_EQ(block[126], 255);
}

TEST(BuildID3v1Tag, GenreOutOfRangeIsNone)
{
    EXPECT_EQ(BuildID3v1Tag("", "", "", "", "", 0, 255)[127], 255);
    EXPECT_EQ(BuildID3v1Tag("", "", "", "", "", 0, static_cast<std::uint32_t>(-1))[127], 255);
    EXPECT_EQ(BuildID3v1Tag("", "", "", "", "", 0, 4000)[127], 255);
    EXPECT_EQ(BuildID3v1Tag("", "", "", "", "", 0, 254)[127], 254);
}

TEST(BuildID3v1Tag, NeverCutsAUtf8Character)
{
    const std::string title = "一二三四五六七八九十壹"; // 11 characters of 3 bytes
    const Id3v1Block block = BuildID3v1Tag(title, "", "", "", "", 0, 255);
    EXPECT_EQ(FieldAt(block, 3, 30), "一二三四五六七八九十");
    const std::string artist = "ab" + title; // 2 + 33 bytes: 9 whole characters fit
    const Id3v1Block other = BuildID3v1Tag("", artist, "", "", "", 0, 255);
    EXPECT_EQ(TagRecord{ParseID3v1Tag(other)}.artist, "ab一二三四五六七八九");
}

TEST(BuildID3v1Tag, FieldLimitsAreTheWidthsOfTheTag)
{
    // What the user may type fits the tag whole, one byte more does not.
    const std::string text(kId3v1TextWidth, 'x');
    const std::string year(kId3v1YearWidth, '9');
    const TagRecord full = ParseID3v1Tag(BuildID3v1Tag(text, text, text, year, text, 0, 255));
    EXPECT_EQ(full.title, text);
    EXPECT_EQ(full.artist, text);
    EXPECT_EQ(full.album, text);
    EXPECT_EQ(full.year, year);
    EXPECT_EQ(full.comment, text);
    const TagRecord over = ParseID3v1Tag(BuildID3v1Tag(text + "y", "", "", year + "9", "", 0, 255));
    EXPECT_EQ(over.title, text);
    EXPECT_EQ(over.year, year);
    // The largest number the track field holds fits the tag's track byte.
    const int track = std::stoi(std::string(kId3v1TrackTextWidth, '9'));
    EXPECT_EQ(ParseID3v1Tag(BuildID3v1Tag("", "", "", "", "", track, 255)).track,
              static_cast<std::uint32_t>(track));
}

TEST(BuildID3v1Tag, WriteThenReadGivesTheSameValues)
{
    const Id3v1Block block = BuildID3v1Tag("标题", "Artist  ", "Album", "2024", "Comment", 12, 34);
    const TagRecord tag = ParseID3v1Tag(block);
    EXPECT_EQ(tag.title, "标题");
    EXPECT_EQ(tag.artist, "Artist");
    EXPECT_EQ(tag.album, "Album");
    EXPECT_EQ(tag.year, "2024");
    EXPECT_EQ(tag.comment, "Comment");
    EXPECT_EQ(tag.track, 12u);
    EXPECT_EQ(tag.genre, 34u);
}

TEST(BuildID3v1Tag, BlankTagIsRecognised)
{
    EXPECT_TRUE(IsBlankID3v1Tag(BuildID3v1Tag("", "", "", "", "", 0, 255)));
    EXPECT_FALSE(IsBlankID3v1Tag(BuildID3v1Tag("", "", "", "", "", 0, 0)));
    EXPECT_FALSE(IsBlankID3v1Tag(BuildID3v1Tag("", "", "", "", "", 1, 255)));
    EXPECT_FALSE(IsBlankID3v1Tag(BuildID3v1Tag("", "", "", "1", "", 0, 255)));
    EXPECT_FALSE(IsBlankID3v1Tag(BuildID3v1Tag("", "", "", "", "x", 0, 255)));
}

TEST(Genres, NamesAndLookups)
{
    EXPECT_EQ(GenreName(0), "Blues");
    EXPECT_EQ(GenreName(27), "Trip Hop");
    EXPECT_EQ(GenreName(67), "Psychadelic");
    EXPECT_EQ(GenreName(118), "Rhytmic Soul");
    EXPECT_EQ(GenreName(144), "Trash Metal");
    EXPECT_EQ(GenreName(147), "SynthPop");
    EXPECT_EQ(GenreName(148), "");
    EXPECT_EQ(GenreIndex("rock"), 17u);
    EXPECT_EQ(GenreIndex("ROCK"), 17u);
    EXPECT_EQ(GenreIndex("Rock "), 255u);
    EXPECT_EQ(GenreIndex(""), 255u);
    EXPECT_EQ(GenreIndex("synthpop"), 147u);
    for (std::uint32_t i = 0; i < kGenreCount; ++i)
        EXPECT_EQ(GenreIndex(GenreName(i)), i) << GenreName(i);
}

} // namespace
} // namespace keldro
