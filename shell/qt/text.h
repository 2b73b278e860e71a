// The core's texts are the dealer system's single-byte texts; every byte is one character.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace dv::qt {

inline QString ToQ(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string FromQ(const QString& text) {
    return text.toLatin1().toStdString();
}

}  // namespace dv::qt
