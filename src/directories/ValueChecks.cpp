#include "directories/ValueChecks.h"

#include <algorithm>
#include <cctype>

namespace veskar {

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsPhoneChar(char c)
{
    return IsDigit(c) || c == '*' || c == '#' || c == '!';
}

}  // namespace

bool CheckPhone(std::string& text)
{
    std::erase_if(text, [](char c) { return c == ' ' || c == '-'; });
    return !std::ranges::all_of(text, IsPhoneChar);
}

bool CheckNumber(const std::string& text)
{
    return !std::ranges::all_of(text, IsDigit);
}

bool CheckDTMF(std::string& text)
{
    for (char& c : text) {
        if (c >= 'a' && c <= 'd')
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (!IsPhoneChar(c) && !(c >= 'A' && c <= 'D'))
            return true;
    }
    return false;
}

bool CheckFloat(const std::string& text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool sign = (c == '+' || c == '-') && i == 0;
        if (!IsDigit(c) && c != '.' && !sign)
            return true;
    }
    return false;
}

}  // namespace veskar
