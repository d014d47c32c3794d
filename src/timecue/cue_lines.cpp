#include "timecue/cue_lines.h"

#include <algorithm>
#include <cstring>

namespace keldro {
namespace {

constexpr std::size_t kBlockSize = 1000;

char AsciiUpper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

} // namespace

std::string SheetText(std::string_view bytes)
{
    std::string text;
    text.reserve(bytes.size());
    for (std::size_t at = 0; at < bytes.size(); at += kBlockSize) {
        const std::string_view block = bytes.substr(at, kBlockSize);
        text.append(block.substr(0, std::min(block.find('\0'), block.size())));
    }
    return text;
}

CueLineReader::CueLineReader(std::string_view text)
{
    std::size_t start = 0;
    std::size_t at = 0;
    while (at < text.size()) {
        const char c = text[at];
        if (c != '\r' && c != '\n') {
            ++at;
            continue;
        }
        lines_.push_back(text.substr(start, at - start));
        const bool pair = at + 1 < text.size() && text[at + 1] != c &&
                          (text[at + 1] == '\r' || text[at + 1] == '\n');
        at += pair ? 2 : 1;
        start = at;
    }
    if (start < text.size())
        lines_.push_back(text.substr(start));
}

bool CueLineReader::Next(std::string_view& line)
{
    while (next_ < lines_.size()) {
        line = TrimBlanks(lines_[next_++]);
        if (!line.empty())
            return true;
    }
    return false;
}

std::string_view TrimBlanks(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const std::size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

bool StartsWithKeyword(std::string_view line, std::string_view keyword)
{
    return line.size() >= keyword.size() &&
           std::equal(keyword.begin(), keyword.end(), line.begin(),
                      [](char a, char b) { return AsciiUpper(a) == AsciiUpper(b); });
}

bool QuotedValue(std::string_view text, std::string& value)
{
    const std::size_t first = text.find('"');
    if (first == std::string_view::npos)
        return false;
    const std::size_t last = text.rfind('"');
    value = std::string(text.substr(first + 1, last > first ? last - first - 1 : 0));
    return true;
}

} // namespace keldro
