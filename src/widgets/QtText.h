#pragma once

// The program's texts live in plain C++ as string views; the windows show them
// through this one conversion.

#include <QString>

#include <string>
#include <string_view>

namespace veskar {

inline QString Text(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline QString Text(const std::string& text)
{
    return QString::fromStdString(text);
}

// Texts the image holds (names, codes) are single bytes, read as Latin-1.
inline QString Latin1Text(std::string_view bytes)
{
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// What a field typed in becomes in the image; characters beyond Latin-1 become "?".
inline std::string Latin1Bytes(const QString& text)
{
    return text.toLatin1().toStdString();
}

} // namespace veskar
