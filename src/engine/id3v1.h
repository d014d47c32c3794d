// ID3v1 tags: the 128-byte block at the end of a file, and the genre list.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace keldro {

inline constexpr std::size_t kId3v1Size = 128;
inline constexpr std::uint32_t kNoGenre = 255;
inline constexpr std::uint32_t kGenreCount = 148;

// Widths in bytes of the tag's text fields, which are also the limits of the
// fields where the user types them: title, artist, album and comment, the year.
inline constexpr std::size_t kId3v1TextWidth = 30;
inline constexpr std::size_t kId3v1YearWidth = 4;
// The track number is a byte of the tag, typed as a text of at most two
// characters: a number or the sequence wildcard "%S".
inline constexpr std::size_t kId3v1TrackTextWidth = 2;

using Id3v1Block = std::array<std::uint8_t, kId3v1Size>;

struct TagRecord
{
    std::string title;
    std::string artist;
    std::string album;
    std::string year;
    std::string comment;
    std::uint32_t track = 0;        // 0 = none
    std::uint32_t genre = kNoGenre; // 0..147 named, anything else has no name

    bool operator==(const TagRecord&) const = default;
};

// True when the block begins with "TAG".
bool IsID3v1Tag(std::span<const std::uint8_t, kId3v1Size> block);
TagRecord ParseID3v1Tag(std::span<const std::uint8_t, kId3v1Size> block);

// Texts longer than their field are cut at the last whole character that fits.
Id3v1Block BuildID3v1Tag(std::string_view title, std::string_view artist, std::string_view album,
                         std::string_view year, std::string_view comment, std::int32_t track,
                         std::uint32_t genre);
// A tag with no text, no track and no genre is not written at all.
bool IsBlankID3v1Tag(const Id3v1Block& block);

// "" for an index without a name.
std::string_view GenreName(std::uint32_t index);
// The first genre equal to name ignoring case, or kNoGenre.
std::uint32_t GenreIndex(std::string_view name);
// In a genre box (an empty entry, then the names in order): the first entry
// whose name begins with prefix ignoring case; 0 for an empty prefix or none.
int GenreBoxPosition(std::string_view prefix);

} // namespace keldro
