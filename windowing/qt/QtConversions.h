#pragma once

#include <QColor>
#include <QString>
#include <cstdint>
#include <string_view>

namespace q7n::qt {

// The core's UTF-8 text as Qt text.
inline QString ToQString(std::string_view Text) {
    return QString::fromUtf8(Text.data(), qsizetype(Text.size()));
}

// A Windows colour value, 0x00BBGGRR, as a Qt colour.
inline QColor ToQColor(std::uint32_t Color) {
    return QColor(int(Color & 0xFF), int((Color >> 8) & 0xFF), int((Color >> 16) & 0xFF));
}

} // namespace q7n::qt
