#pragma once

// The three forms of a DTMF symbol: text ("0"-"9", "*", "#", "A"-"D"),
// digit value in code fields (1-9, 10 = "0", 11 = "*", 12 = "#", 13-15 = "A"-"C",
// 0 = "D") and stored character in directory lines (0x30 + digit value).
// The converters work in place, as the editors use them on their text buffers.

#include "database/Image.h"

#include <string>
#include <string_view>

namespace veskar {

void Data2DTMF(char* buffer, int count);
void DTMF2Data(char* buffer, int count);
void DTMF2ASCII(std::string& text);
int ASCII2DTMF(std::string& text);

// Name buffers are at least 16 characters; a '\0' is the terminator.
void PadTag(char* name);
void RemoveSpaces(char* name);
[[nodiscard]] int FindLength(const char* text);

[[nodiscard]] char DigitValueToSymbol(Byte value);
[[nodiscard]] Byte SymbolToDigitValue(char symbol);
[[nodiscard]] char StoredCharToSymbol(Byte stored);
[[nodiscard]] Byte SymbolToStoredChar(char symbol);
[[nodiscard]] bool IsDtmfSymbol(char symbol);

// Code field <-> text. CodeFromText expects a checked code (at most 8 symbols).
[[nodiscard]] std::string CodeToText(const CodeField& code);
[[nodiscard]] CodeField CodeFromText(std::string_view text);

// True when both fields hold a code (length above 0) and it is the same code:
// the same count and the same digits within it. A code that begins another is not the same.
[[nodiscard]] bool SameCode(const CodeField& a, const CodeField& b);

// Name field <-> text: trailing blanks are dropped on the way out and padded on the way in.
[[nodiscard]] std::string NameToText(const NameField& name);
[[nodiscard]] NameField NameFromText(std::string_view text);

}  // namespace veskar
