#include "database/Codes.h"

#include <gtest/gtest.h>

#include <cstring>

namespace veskar {
namespace {

TEST(Codes, DigitValuesAndSymbolsBothWays)
{
    const std::string symbols = "D1234567890*#ABC";
    for (Byte value = 0; value < 16; ++value) {
        char c = static_cast<char>(value);
        Data2DTMF(&c, 1);
        EXPECT_EQ(c, symbols[value]);
        DTMF2Data(&c, 1);
        EXPECT_EQ(static_cast<Byte>(c), value);
    }
}

TEST(Codes, ConvertersHonourTheirCount)
{
    char digits[] = {1, 0, 12, 5};
    Data2DTMF(digits, 3);
    EXPECT_EQ(std::string(digits, 4), std::string("1D#") + '\x05');
    Data2DTMF(digits, 0);
    Data2DTMF(digits, -1);
    EXPECT_EQ(std::string(digits, 3), "1D#");

    char symbols[] = {'1', 'd', '#'};
    DTMF2Data(symbols, 3);
    EXPECT_EQ(symbols[0], 1);
    EXPECT_EQ(symbols[1], 0);
    EXPECT_EQ(symbols[2], 12);
}

TEST(Codes, StoredCharactersOfDirectoryLines)
{
    std::string stored = ":;<=>?0";
    DTMF2ASCII(stored);
    EXPECT_EQ(stored, "0*#ABCD");
    EXPECT_EQ(ASCII2DTMF(stored), 7);
    EXPECT_EQ(stored, ":;<=>?0");

    std::string lower = "abcd19";
    ASCII2DTMF(lower);
    EXPECT_EQ(lower, "=>?019");

    std::string foreign = "x!";
    DTMF2ASCII(foreign);
    EXPECT_EQ(foreign, "**");
}

TEST(Codes, PadTagAndRemoveSpacesAreInverse)
{
    char name[17] = "Bob";
    PadTag(name);
    EXPECT_EQ(std::string(name, 16), "Bob             ");
    RemoveSpaces(name);
    EXPECT_STREQ(name, "Bob");
    for (int i = 3; i < 16; ++i)
        EXPECT_EQ(name[i], '\0');
}

TEST(Codes, PadTagLeavesAFullNameAlone)
{
    char name[20];
    std::memcpy(name, "ABCDEFGHIJKLMNOPQRS", 20);
    PadTag(name);
    EXPECT_EQ(std::string(name, 19), "ABCDEFGHIJKLMNOPQRS");
}

TEST(Codes, FindLengthStopsAtSixteen)
{
    EXPECT_EQ(FindLength("abc"), 3);
    EXPECT_EQ(FindLength("abcdefghijklmnopqrst"), 16);
    EXPECT_EQ(FindLength(""), 0);
}

TEST(Codes, CodeFieldTextRoundTrip)
{
    const std::string cases[] = {"", "1", "D", "0DD0", "12345678", "*#ABCD90"};
    for (const std::string& text : cases) {
        const CodeField code = CodeFromText(text);
        EXPECT_EQ(code.length, text.size());
        EXPECT_EQ(CodeToText(code), text) << text;
    }
}

TEST(Codes, EightDigitCodeWithDKeepsItsLength)
{
    const CodeField code = CodeFromText("1D2D3D4D");
    EXPECT_EQ(code.digits[1], 0);
    EXPECT_EQ(code.digits[7], 0);
    EXPECT_EQ(code.length, 8);
    EXPECT_EQ(CodeToText(code), "1D2D3D4D");
}

TEST(Codes, LowerCaseSymbolsBecomeUpperCase)
{
    EXPECT_EQ(CodeToText(CodeFromText("abcd")), "ABCD");
}

TEST(Codes, NameFieldTextRoundTrip)
{
    EXPECT_EQ(NameToText(NameFromText("Site 4")), "Site 4");
    const NameField padded = NameFromText("X");
    EXPECT_EQ(padded[15], ' ');
    EXPECT_EQ(NameToText(NameFromText("A name longer than sixteen")), "A name longer th");
    NameField zeros{};
    EXPECT_EQ(NameToText(zeros), "");
}

}  // namespace
}  // namespace veskar
