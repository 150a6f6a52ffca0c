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

} // namespace veskar
