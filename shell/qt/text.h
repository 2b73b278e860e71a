// The core's texts are the dealer system's single-byte texts; every byte is one character.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace dv::qt {

inline QString ToQ(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// A cell's text as a grid shows it: the dealer's fixed-width fields keep their trailing blanks in
// the model, the grid neither shows nor makes room for them.
inline std::string_view ShownCell(std::string_view text) {
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

inline std::string FromQ(const QString& text) {
    return text.toLatin1().toStdString();
}

}  // namespace dv::qt
