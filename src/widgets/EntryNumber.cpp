#include "widgets/EntryNumber.h"

#include <limits>

namespace veskar {

int LeadingInteger(std::string_view text, std::size_t charactersRead)
{
    text = text.substr(0, charactersRead);
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    constexpr long long kLimit = std::numeric_limits<int>::max();
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > kLimit)
            value = kLimit + 1;
    }
    if (negative)
        value = -value;
    if (value > kLimit)
        return std::numeric_limits<int>::max();
    if (value < -kLimit)
        return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

} // namespace veskar
