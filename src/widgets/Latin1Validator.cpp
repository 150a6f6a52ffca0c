#include "widgets/Latin1Validator.h"

#include <algorithm>

namespace veskar {

QValidator::State Latin1Validator::validate(QString& input, int&) const
{
    const bool printable = std::ranges::all_of(
        input, [](QChar c) { return c.unicode() >= 0x20 && c.unicode() <= 0xFF && c.unicode() != 0x7F; });
    return printable ? Acceptable : Invalid;
}

} // namespace veskar
