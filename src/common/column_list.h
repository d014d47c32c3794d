// The column lists of the split and merge lists: "caption,width;caption,width"
// as the string table holds them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace keldro {

struct ColumnEntry
{
    std::string caption;
    int width = 0; // pixels at the list's default font; 0 when the text gives none
};

// The caption is the text up to ',' (blanks kept: column 0's caption is one
// blank), the width the number after it up to ';' or the end, blanks around it
// skipped. An entry without ',' is a caption with width 0; an empty last entry
// (a trailing ';') adds nothing.
std::vector<ColumnEntry> ParseColumnList(std::string_view text);

} // namespace keldro
