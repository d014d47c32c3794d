// Texts in the core are byte strings: UTF-8 from the desktop program, or
// whatever bytes a file held (often GB18030). These helpers never split a
// character of either encoding.
#pragma once

#include <cstddef>
#include <string_view>

namespace keldro {

bool IsValidUtf8(std::string_view text);

// The longest prefix of at most maxBytes bytes that ends on a character
// boundary: UTF-8 when the text is valid UTF-8, GB18030 otherwise.
std::string_view CutAtCharBoundary(std::string_view text, std::size_t maxBytes);

// Removes trailing blanks, tabs, line feeds, vertical tabs, form feeds and
// carriage returns. Safe for both encodings: no byte of a multibyte character
// is one of these.
std::string_view TrimTrailingSpace(std::string_view text);

} // namespace keldro
