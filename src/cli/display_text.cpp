#include "display_text.h"

#include "base/byte_text.h"

#include <cerrno>
#include <iconv.h>

namespace keldro::cli {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

std::string FromGb18030(std::string_view bytes)
{
    iconv_t converter = iconv_open("UTF-8", "GB18030");
    if (converter == reinterpret_cast<iconv_t>(-1))
        return {};
    std::string out;
    char buffer[256];
    auto* in = const_cast<char*>(bytes.data());
    size_t inLeft = bytes.size();
    while (inLeft > 0) {
        char* outPtr = buffer;
        size_t outLeft = sizeof buffer;
        const size_t result = iconv(converter, &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<size_t>(outPtr - buffer));
        if (result == static_cast<size_t>(-1) && errno != E2BIG) {
            // An unreadable byte: mark it and go on with the next one.
            out += kReplacement;
            ++in;
            --inLeft;
        }
    }
    iconv_close(converter);
    return out;
}

} // namespace

std::string ToDisplayText(std::string_view bytes)
{
    if (IsValidUtf8(bytes))
        return std::string(bytes);
    return FromGb18030(bytes);
}

void PutPath(nlohmann::ordered_json& object, const std::string& key, std::string_view path)
{
    object[key] = ToDisplayText(path);
    if (IsValidUtf8(path))
        return;
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(path.size() * 2);
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 15];
    }
    object[key + "_bytes"] = hex;
}

} // namespace keldro::cli
