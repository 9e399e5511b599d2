// Conversions between the engine's UTF-16 text and QString, which share one representation.
#pragma once

#include <QString>
#include <string>

namespace lodestar::ui {

inline QString toQ(const std::u16string& text) {
    return QString(reinterpret_cast<const QChar*>(text.data()),
                   static_cast<qsizetype>(text.size()));
}

inline std::u16string fromQ(const QString& text) {
    return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                          static_cast<std::size_t>(text.size()));
}

}  // namespace lodestar::ui
