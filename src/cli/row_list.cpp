#include "row_list.h"

#include <charconv>

namespace keldro::cli {
namespace {

std::optional<int> Number(std::string_view text)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || value < 1)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<std::set<int>> ParseRowList(std::string_view text)
{
    std::set<int> rows;
    while (!text.empty()) {
        const std::size_t comma = text.find(',');
        const std::string_view item = text.substr(0, comma);
        text = comma == std::string_view::npos ? std::string_view{} : text.substr(comma + 1);
        const std::size_t dash = item.find('-');
        const std::optional<int> first = Number(item.substr(0, dash));
        const std::optional<int> last =
            dash == std::string_view::npos ? first : Number(item.substr(dash + 1));
        if (!first || !last || *last < *first || *last - *first > 100'000)
            return std::nullopt;
        for (int row = *first; row <= *last; ++row)
            rows.insert(row);
        if (comma != std::string_view::npos && text.empty())
            return std::nullopt; // a trailing comma
    }
    if (rows.empty())
        return std::nullopt;
    return rows;
}

} // namespace keldro::cli
