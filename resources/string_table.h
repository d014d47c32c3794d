// The string table: user-visible texts shared by the core and both front ends.
// Texts are UTF-8; placeholders are printf-style.
#pragma once

#include <cstdarg>
#include <string>
#include <string_view>
#include <type_traits>

namespace keldro {

enum class StringId
{
    // Files
    LoadMp3Failed,    // %s path
    FileTooLarge,     // %s path
    CannotOpenFile,   // %s path
    CannotCreateFile, // %s path
    ConfirmOverwrite, // %s path

    // CUE sheets
    CueFormatError, // %d line
    CueTimeError,   // %d track

    // Stream information text
    StreamInfoVbr,   // %s duration, %s version, %d layer, %.0f kbps, %s label, %d Hz, %s mode
    StreamInfoCbr,   // %s duration, %s version, %d layer, %.0f kbps, %d Hz, %s mode
    StreamLabelVbr,  // a Xing header
    StreamLabelVbri, // a VBRI header
    ChannelStereo,
    ChannelJointStereo,
    ChannelDual,
    ChannelMono,

    // Frame table
    LoadingFramesCaption,
    ConfirmCancelLoadingFrames,

    // Time values
    TimeFormatRule,

    // Tag fields
    TagTitle,
    TagArtist,
    TagAlbum,
    TagYear,
    TagComment,
    TagTrack,
    TagGenre,
    TagNone,
    Count
};

std::string_view LoadString(StringId id);

// printf-style formatting of a string-table text. Arguments must be numbers or
// C strings: std::string is refused at compile time instead of crashing at run time.
std::string FormatStringV(const char* format, ...);

template <typename... Args>
std::string FormatString(StringId id, Args... args)
{
    static_assert(((std::is_arithmetic_v<Args> || std::is_same_v<Args, const char*> ||
                    std::is_same_v<Args, char*>)&&...),
                  "FormatString takes numbers and C strings only");
    return FormatStringV(LoadString(id).data(), args...);
}

} // namespace keldro
