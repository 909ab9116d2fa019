#pragma once

#include "config/CodePage.h"

#include <QString>
#include <string>
#include <string_view>

namespace kym {

// The program's own texts, messages and paths: UTF-8.
inline QString toQt(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
inline std::string fromQt(const QString& text) {
    return text.toStdString();
}

// A register configuration file's values (cells, header settings): Windows-1252 bytes, each one
// character, so a value shown in a widget and taken back is the same bytes.
inline QString fileTextToQt(std::string_view bytes) {
    return toQt(utf8FromCp1252(bytes));
}
inline std::string fileTextFromQt(const QString& text) {
    return cp1252FromUtf8(fromQt(text));
}

} // namespace kym
