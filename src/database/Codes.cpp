#include "database/Codes.h"

#include <algorithm>
#include <cstring>

namespace veskar {

namespace {

constexpr std::string_view kSymbolOfValue = "D1234567890*#ABC";
constexpr Byte kStoredOffset = 0x30;

}  // namespace

char DigitValueToSymbol(Byte value)
{
    if (value < kSymbolOfValue.size())
        return kSymbolOfValue[value];
    return static_cast<char>(value + kStoredOffset);
}

Byte SymbolToDigitValue(char symbol)
{
    switch (symbol) {
    case 'C': case 'c': return 15;
    case '0': return 10;
    case '#': return 12;
    case '*': return 11;
    case 'A': case 'a': return 13;
    case 'B': case 'b': return 14;
    case 'D': case 'd': return 0;
    default: return static_cast<Byte>(symbol - kStoredOffset);
    }
}

char StoredCharToSymbol(Byte stored)
{
    if (stored >= kStoredOffset && stored < kStoredOffset + kSymbolOfValue.size())
        return kSymbolOfValue[stored - kStoredOffset];
    return static_cast<char>(stored);
}

Byte SymbolToStoredChar(char symbol)
{
    if (!IsDtmfSymbol(symbol))
        return static_cast<Byte>(symbol);
    return static_cast<Byte>(SymbolToDigitValue(symbol) + kStoredOffset);
}

bool IsDtmfSymbol(char symbol)
{
    return (symbol >= '0' && symbol <= '9') || symbol == '*' || symbol == '#' ||
           (symbol >= 'A' && symbol <= 'D') || (symbol >= 'a' && symbol <= 'd');
}

void Data2DTMF(char* buffer, int count)
{
    for (int i = 0; i < count; ++i)
        buffer[i] = DigitValueToSymbol(static_cast<Byte>(buffer[i]));
}

void DTMF2Data(char* buffer, int count)
{
    for (int i = 0; i < count; ++i)
        buffer[i] = static_cast<char>(SymbolToDigitValue(buffer[i]));
}

void DTMF2ASCII(std::string& text)
{
    for (char& c : text) {
        const auto stored = static_cast<Byte>(c);
        c = (stored >= kStoredOffset && stored <= 0x3F) ? StoredCharToSymbol(stored) : '*';
    }
}

int ASCII2DTMF(std::string& text)
{
    for (char& c : text)
        c = static_cast<char>(SymbolToStoredChar(c));
    return static_cast<int>(text.size());
}

void PadTag(char* name)
{
    for (std::size_t i = 0; i < kNameLength; ++i) {
        if (name[i] == '\0') {
            std::fill(name + i, name + kNameLength, ' ');
            return;
        }
    }
}

void RemoveSpaces(char* name)
{
    for (int i = static_cast<int>(kNameLength) - 1; i >= 0 && name[i] == ' '; --i)
        name[i] = '\0';
}

int FindLength(const char* text)
{
    int length = 0;
    while (length < static_cast<int>(kNameLength) && text[length] != '\0')
        ++length;
    return length;
}

std::string CodeToText(const CodeField& code)
{
    const std::size_t length = std::min<std::size_t>(code.length, code.digits.size());
    std::string text(code.digits.begin(), code.digits.begin() + static_cast<std::ptrdiff_t>(length));
    Data2DTMF(text.data(), static_cast<int>(text.size()));
    return text;
}

CodeField CodeFromText(std::string_view text)
{
    CodeField code{};
    const std::size_t length = std::min(text.size(), kMaxCodeDigits);
    std::copy_n(text.begin(), length, code.digits.begin());
    DTMF2Data(reinterpret_cast<char*>(code.digits.data()), static_cast<int>(length));
    code.length = static_cast<Byte>(length);
    return code;
}

bool SameCode(const CodeField& a, const CodeField& b)
{
    if (a.length == 0 || a.length != b.length || a.length > a.digits.size())
        return false;
    return std::equal(a.digits.begin(), a.digits.begin() + a.length, b.digits.begin());
}

std::string NameToText(const NameField& name)
{
    std::string text(name.begin(), std::find(name.begin(), name.end(), Byte{0}));
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

NameField NameFromText(std::string_view text)
{
    NameField name;
    name.fill(' ');
    std::copy_n(text.begin(), std::min(text.size(), kNameLength), name.begin());
    return name;
}

}  // namespace veskar
