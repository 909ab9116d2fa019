#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace kym {

// Texts are single-byte as the files hold them; Latin-1 keeps every byte through a widget.
inline QString toQt(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}
inline std::string fromQt(const QString& text) {
    return text.toLatin1().toStdString();
}

} // namespace kym
