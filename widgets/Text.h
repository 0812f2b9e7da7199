#pragma once

#include <QString>
#include <string>
#include <string_view>

// Cells and paths are 8-bit text in the system's encoding; Qt wants QString. The conversions live here.
inline QString FromBytes(std::string_view text) {
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}
inline std::string ToBytes(const QString& text) {
    const QByteArray bytes = text.toLocal8Bit();
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}
