// ID3v1: any 128 bytes parse, and what was parsed writes back and reads the
// same; any texts build a tag whose fields are whole-character prefixes.
#include "base/byte_text.h"
#include "engine/id3v1.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace {

void Check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

void CheckRoundTrip(const std::uint8_t* data)
{
    using namespace keldro;
    Id3v1Block block{};
    std::memcpy(block.data(), data, block.size());
    const TagRecord tag = ParseID3v1Tag(block);
    Check(tag.title.size() <= 30 && tag.year.size() <= 4 && tag.comment.size() <= 30);
    Check(tag.track <= 255 && tag.genre <= 255);
    const Id3v1Block rebuilt =
        BuildID3v1Tag(tag.title, tag.artist, tag.album, tag.year, tag.comment,
                      static_cast<std::int32_t>(tag.track), tag.genre);
    Check(ParseID3v1Tag(rebuilt) == tag);
    Check(GenreName(tag.genre).empty() || GenreIndex(GenreName(tag.genre)) == tag.genre);
}

void CheckBuild(std::string_view text)
{
    using namespace keldro;
    const Id3v1Block block = BuildID3v1Tag(text, text, text, text, text, 0, 255);
    const std::string_view title(reinterpret_cast<const char*>(block.data() + 3),
                                 strnlen(reinterpret_cast<const char*>(block.data() + 3), 30));
    Check(text.substr(0, title.size()) == title);
    if (IsValidUtf8(text) && text.find('\0') == std::string_view::npos)
        Check(IsValidUtf8(title));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size >= keldro::kId3v1Size)
        CheckRoundTrip(data);
    CheckBuild(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
