#include "byte_text.h"

namespace keldro {
namespace {

unsigned char At(std::string_view text, std::size_t i)
{
    return static_cast<unsigned char>(text[i]);
}

bool IsContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// Length of the UTF-8 sequence starting at i, or 0 when it is not valid
// (overlong forms, surrogates and values beyond U+10FFFF included).
std::size_t Utf8SequenceLength(std::string_view text, std::size_t i)
{
    const unsigned char lead = At(text, i);
    if (lead < 0x80)
        return 1;
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (i + length > text.size())
        return 0;
    const unsigned char second = At(text, i + 1);
    if (second < low || second > high)
        return 0;
    for (std::size_t k = 2; k < length; ++k) {
        if (!IsContinuation(At(text, i + k)))
            return 0;
    }
    return length;
}

std::size_t Gb18030SequenceLength(std::string_view text, std::size_t i)
{
    const unsigned char lead = At(text, i);
    if (lead < 0x81 || lead > 0xFE || i + 1 >= text.size())
        return 1;
    const unsigned char second = At(text, i + 1);
    return (second >= 0x30 && second <= 0x39) ? 4 : 2;
}

} // namespace

bool IsValidUtf8(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = Utf8SequenceLength(text, i);
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

std::string_view CutAtCharBoundary(std::string_view text, std::size_t maxBytes)
{
    if (text.size() <= maxBytes)
        return text;
    std::size_t cut = 0;
    if (IsValidUtf8(text)) {
        cut = maxBytes;
        while (cut > 0 && IsContinuation(At(text, cut)))
            --cut;
    } else {
        while (cut < text.size()) {
            const std::size_t next = cut + Gb18030SequenceLength(text, cut);
            if (next > maxBytes)
                break;
            cut = next;
        }
    }
    return text.substr(0, cut);
}

std::string_view TrimTrailingSpace(std::string_view text)
{
    std::size_t end = text.size();
    while (end > 0) {
        const char c = text[end - 1];
        if (c != ' ' && (c < '\t' || c > '\r'))
            break;
        --end;
    }
    return text.substr(0, end);
}

} // namespace keldro
