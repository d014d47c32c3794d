// Icons of the icon buttons: the desktop theme's where it has one, else a
// glyph drawn by the program itself.
#pragma once

#include <QIcon>

namespace keldro {

enum class ButtonIcon
{
    Remove,
    Clear,
    MoveUp,
    MoveDown,
    MoveTop,
    MoveBottom,
    Play,
    Pause,
    FastForward,
    Back,
    Forward,
    GoStart,
    GoEnd,
    Convert,
    SplitPage,
    MergePage,
    SettingsPage,
};

inline constexpr int kButtonIconCount = static_cast<int>(ButtonIcon::SettingsPage) + 1;

// The desktop theme's icon of that name when the theme has it, else the one
// drawn for this program.
QIcon ThemedIcon(ButtonIcon icon);

// The freedesktop icon name looked up in the desktop theme.
const char* ThemeName(ButtonIcon icon);

} // namespace keldro
