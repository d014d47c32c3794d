#include "common/column_list.h"

#include <charconv>

namespace keldro {
namespace {

int ParseWidth(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    int width = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), width);
    (void)end;
    return error == std::errc() && width > 0 ? width : 0;
}

} // namespace

std::vector<ColumnEntry> ParseColumnList(std::string_view text)
{
    std::vector<ColumnEntry> columns;
    while (!text.empty()) {
        const std::size_t end = text.find(';');
        const std::string_view entry = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (entry.empty() && text.empty())
            break;
        const std::size_t comma = entry.find(',');
        ColumnEntry column;
        column.caption = std::string(entry.substr(0, comma));
        if (comma != std::string_view::npos)
            column.width = ParseWidth(entry.substr(comma + 1));
        columns.push_back(std::move(column));
    }
    return columns;
}

} // namespace keldro
