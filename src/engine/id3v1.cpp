#include "id3v1.h"

#include "base/byte_text.h"

#include <algorithm>
#include <cstring>

namespace keldro {
namespace {

// Block layout: "TAG", title 30, artist 30, album 30, year 4, comment 30 (or 28,
// a zero byte and the track number), genre 1.
constexpr std::size_t kTitleAt = 3;
constexpr std::size_t kArtistAt = 33;
constexpr std::size_t kAlbumAt = 63;
constexpr std::size_t kYearAt = 93;
constexpr std::size_t kCommentAt = 97;
constexpr std::size_t kTrackMarkerAt = 125;
constexpr std::size_t kTrackAt = 126;
constexpr std::size_t kGenreAt = 127;
constexpr std::size_t kTextWidth = kId3v1TextWidth;
constexpr std::size_t kYearWidth = kId3v1YearWidth;
constexpr std::size_t kShortCommentWidth = 28;

// Spelled as the list has always been spelled; users match on these names.
constexpr std::array<std::string_view, kGenreCount> kGenres{"Blues",
                                                            "Classic Rock",
                                                            "Country",
                                                            "Dance",
                                                            "Disco",
                                                            "Funk",
                                                            "Grunge",
                                                            "Hip-Hop",
                                                            "Jazz",
                                                            "Metal",
                                                            "New Age",
                                                            "Oldies",
                                                            "Other",
                                                            "Pop",
                                                            "R&B",
                                                            "Rap",
                                                            "Reggae",
                                                            "Rock",
                                                            "Techno",
                                                            "Industrial",
                                                            "Alternative",
                                                            "Ska",
                                                            "Death Metal",
                                                            "Pranks",
                                                            "Soundtrack",
                                                            "Euro-Techno",
                                                            "Ambient",
                                                            "Trip Hop",
                                                            "Vocal",
                                                            "Jazz Funk",
                                                            "Fusion",
                                                            "Trance",
                                                            "Classical",
                                                            "Instrumental",
                                                            "Acid",
                                                            "House",
                                                            "Game",
                                                            "Sound Clip",
                                                            "Gospel",
                                                            "Noise",
                                                            "Alternative Rock",
                                                            "Bass",
                                                            "Soul",
                                                            "Punk",
                                                            "Space",
                                                            "Meditative",
                                                            "Instrumental Pop",
                                                            "Instrumental Rock",
                                                            "Ethnic",
                                                            "Gothic",
                                                            "Darkwave",
                                                            "Techno-Industrial",
                                                            "Electronic",
                                                            "Pop Folk",
                                                            "Eurodance",
                                                            "Dream",
                                                            "Southern Rock",
                                                            "Comedy",
                                                            "Cult",
                                                            "Gangsta",
                                                            "Top 40",
                                                            "Christian Rap",
                                                            "Pop Funk",
                                                            "Jungle",
                                                            "Native American",
                                                            "Cabaret",
                                                            "New Wave",
                                                            "Psychadelic",
                                                            "Rave",
                                                            "ShowTunes",
                                                            "Trailer",
                                                            "Lo-Fi",
                                                            "Tribal",
                                                            "Acid Punk",
                                                            "Acid Jazz",
                                                            "Polka",
                                                            "Retro",
                                                            "Musical",
                                                            "Rock & Roll",
                                                            "Hard Rock",
                                                            "Folk",
                                                            "Folk Rock",
                                                            "National Folk",
                                                            "Swing",
                                                            "Fast Fusion",
                                                            "Bebob",
                                                            "Latin",
                                                            "Revival",
                                                            "Celtic",
                                                            "Bluegrass",
                                                            "Avantgarde",
                                                            "Gothic Rock",
                                                            "Progressive Rock",
                                                            "Psychedelic Rock",
                                                            "Symphonic Rock",
                                                            "Slow Rock",
                                                            "Big Band",
                                                            "Chorus",
                                                            "Easy Listening",
                                                            "Acoustic",
                                                            "Humour",
                                                            "Speech",
                                                            "Chanson",
                                                            "Opera",
                                                            "Chamber Music",
                                                            "Sonata",
                                                            "Symphony",
                                                            "Booty Bass",
                                                            "Primus",
                                                            "Porn Groove",
                                                            "Satire",
                                                            "Slow Jam",
                                                            "Club",
                                                            "Tango",
                                                            "Samba",
                                                            "Folklore",
                                                            "Ballad",
                                                            "Power Ballad",
                                                            "Rhytmic Soul",
                                                            "Freestyle",
                                                            "Duet",
                                                            "Punk Rock",
                                                            "Drum Solo",
                                                            "A Capella",
                                                            "Euro House",
                                                            "Dance Hall",
                                                            "Goa",
                                                            "Drum & Bass",
                                                            "Club House",
                                                            "Hardcore",
                                                            "Terror",
                                                            "Indie",
                                                            "BritPop",
                                                            "Negerpunk",
                                                            "Polsk Punk",
                                                            "Beat",
                                                            "Christian Gangsta Rap",
                                                            "Heavy Metal",
                                                            "Black Metal",
                                                            "Crossover",
                                                            "Contemporary Christian",
                                                            "Christian Rock",
                                                            "Merengue",
                                                            "Salsa",
                                                            "Trash Metal",
                                                            "Anime",
                                                            "JPop",
                                                            "SynthPop"};

std::string ReadField(std::span<const std::uint8_t, kId3v1Size> block, std::size_t at,
                      std::size_t width)
{
    const auto* begin = reinterpret_cast<const char*>(block.data() + at);
    const std::string_view field(begin, strnlen(begin, width));
    return std::string(TrimTrailingSpace(field));
}

void WriteField(Id3v1Block& block, std::size_t at, std::size_t width, std::string_view text)
{
    const std::string_view cut = CutAtCharBoundary(text, width);
    std::memcpy(block.data() + at, cut.data(), cut.size());
}

char AsciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

bool BeginsWithIgnoringCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() &&
           EqualsIgnoringCase(text.substr(0, prefix.size()), prefix);
}

} // namespace

bool IsID3v1Tag(std::span<const std::uint8_t, kId3v1Size> block)
{
    return block[0] == 'T' && block[1] == 'A' && block[2] == 'G';
}

TagRecord ParseID3v1Tag(std::span<const std::uint8_t, kId3v1Size> block)
{
    TagRecord tag;
    tag.title = ReadField(block, kTitleAt, kTextWidth);
    tag.artist = ReadField(block, kArtistAt, kTextWidth);
    tag.album = ReadField(block, kAlbumAt, kTextWidth);
    tag.year = ReadField(block, kYearAt, kYearWidth);
    if (block[kTrackMarkerAt] != 0) {
        tag.comment = ReadField(block, kCommentAt, kTextWidth);
    } else {
        tag.comment = ReadField(block, kCommentAt, kShortCommentWidth);
        tag.track = block[kTrackAt];
    }
    tag.genre = block[kGenreAt];
    return tag;
}

Id3v1Block BuildID3v1Tag(std::string_view title, std::string_view artist, std::string_view album,
                         std::string_view year, std::string_view comment, std::int32_t track,
                         std::uint32_t genre)
{
    Id3v1Block block{};
    block[0] = 'T';
    block[1] = 'A';
    block[2] = 'G';
    WriteField(block, kTitleAt, kTextWidth, title);
    WriteField(block, kArtistAt, kTextWidth, artist);
    WriteField(block, kAlbumAt, kTextWidth, album);
    WriteField(block, kYearAt, kYearWidth, year);
    WriteField(block, kCommentAt, track == 0 ? kTextWidth : kShortCommentWidth, comment);
    if (track != 0)
        block[kTrackAt] = static_cast<std::uint8_t>(std::clamp(track, 0, 255));
    block[kGenreAt] = static_cast<std::uint8_t>(genre <= 254 ? genre : kNoGenre);
    return block;
}

bool IsBlankID3v1Tag(const Id3v1Block& block)
{
    const bool noText = std::all_of(block.begin() + kTitleAt, block.begin() + kTrackAt,
                                    [](std::uint8_t b) { return b == 0; });
    return noText && block[kTrackAt] == 0 && block[kGenreAt] == kNoGenre;
}

std::string_view GenreName(std::uint32_t index)
{
    return index < kGenres.size() ? kGenres[index] : std::string_view{};
}

std::uint32_t GenreIndex(std::string_view name)
{
    if (name.empty())
        return kNoGenre;
    for (std::uint32_t i = 0; i < kGenres.size(); ++i) {
        if (EqualsIgnoringCase(name, kGenres[i]))
            return i;
    }
    return kNoGenre;
}

int GenreBoxPosition(std::string_view prefix)
{
    if (prefix.empty())
        return 0;
    for (std::uint32_t i = 0; i < kGenres.size(); ++i) {
        if (BeginsWithIgnoringCase(kGenres[i], prefix))
            return static_cast<int>(i) + 1;
    }
    return 0;
}

} // namespace keldro
