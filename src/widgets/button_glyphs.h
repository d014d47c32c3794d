// The shapes of the program's own button icons.
#pragma once

#include "widgets/themed_icon.h"

#include <QPainterPath>

namespace keldro {

// The side of the square the glyphs are drawn in; one unit is one pixel of a
// 16 px icon, so straight edges on whole units stay sharp at 16 and 32 px.
inline constexpr double kGlyphGrid = 16.0;

// The glyph as one filled outline (holes wound the other way) in a square of
// kGlyphGrid units.
QPainterPath ButtonGlyph(ButtonIcon icon);

} // namespace keldro
