// Texts between the core (bytes, usually UTF-8, sometimes GB18030 from old
// tags and sheets) and Qt (Unicode).
#pragma once

#include <string>
#include <string_view>

#include <QString>

namespace keldro {

// Valid UTF-8 as UTF-8, anything else as GB18030.
QString FromBytes(std::string_view bytes);
// What the core stores: UTF-8.
std::string ToBytes(const QString& text);

} // namespace keldro
