// The line-level reading of CUE sheets: line ends, blank lines, keywords and
// quoted values.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace keldro {

// The sheet's text: its bytes in blocks of 1000, each taken up to its first
// zero byte.
std::string SheetText(std::string_view bytes);

class CueLineReader
{
public:
    // Lines end at CR, LF, CR LF or LF CR; every line end counts, so blank
    // lines have numbers too. The text must outlive the reader.
    explicit CueLineReader(std::string_view text);

    // The next line that is not empty once spaces and tabs are trimmed from
    // both ends; false at the end of the text.
    bool Next(std::string_view& line);
    // The number of the line Next gave last, counted from 1.
    int LineNumber() const { return static_cast<int>(next_); }
    int LineCount() const { return static_cast<int>(lines_.size()); }

private:
    std::vector<std::string_view> lines_;
    std::size_t next_ = 0;
};

std::string_view TrimBlanks(std::string_view text);
// Whether the line begins with the keyword, ignoring case ("FILE" also matches
// "FILENAME").
bool StartsWithKeyword(std::string_view line, std::string_view keyword);
// The text between the first and the last double quote; false without any.
bool QuotedValue(std::string_view text, std::string& value);

} // namespace keldro
