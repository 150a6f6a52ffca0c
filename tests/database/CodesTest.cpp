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
    char digits[] = {1, 0, 12, 5};
    Data2DTMF(digits, 3);
    Data2DTMF(digits, 0);
    Data2DTMF(digits, -1);
    EXPECT_EQ(std::string(digits, 4), std::string("1D#") + '\x05') << "only the count given";
    char lower[] = {'d', 'a'};
    DTMF2Data(lower, 2);
    EXPECT_EQ(std::string(lower, 2), std::string("\x00\x0D", 2));
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
    EXPECT_EQ(foreign, "**") << "bad characters read as *";
}

TEST(Codes, CodeFieldText)
{
    const std::pair<std::string, std::string> cases[] = {
        {"", ""}, {"1", "1"}, {"D", "D"}, {"0DD0", "0DD0"}, {"12345678", "12345678"},
        {"*#ABCD90", "*#ABCD90"}, {"1D2D3D4D", "1D2D3D4D"}, {"abcd", "ABCD"}, {"123456789", "12345678"},
    };
    for (const auto& [text, back] : cases) {
        const CodeField code = CodeFromText(text);
        EXPECT_EQ(code.length, back.size()) << text;
        EXPECT_EQ(CodeToText(code), back) << text;
    }
    EXPECT_EQ(CodeFromText("1D2D3D4D").digits[7], 0) << "D is digit value 0";
}

TEST(Codes, NameBuffersAndFields)
{
    char name[20];
    std::memcpy(name, "Bob\0IJKLMNOPQRS", 16);
    PadTag(name);
    EXPECT_EQ(std::string(name, 16), "Bob             ");
    RemoveSpaces(name);
    EXPECT_EQ(std::string(name, 16), std::string("Bob") + std::string(13, '\0'));
    std::memcpy(name, "ABCDEFGHIJKLMNOPQRS", 20);
    PadTag(name);
    EXPECT_EQ(std::string(name, 19), "ABCDEFGHIJKLMNOPQRS") << "a full name stays";
    EXPECT_EQ(FindLength(name), 16);
    EXPECT_EQ(FindLength("abc"), 3);
    EXPECT_EQ(FindLength(""), 0);

    EXPECT_EQ(NameToText(NameFromText("Site 4")), "Site 4");
    EXPECT_EQ(NameFromText("X")[15], ' ');
    EXPECT_EQ(NameToText(NameFromText("A name longer than sixteen")), "A name longer th");
    EXPECT_EQ(NameToText(NameField{}), "");
}

}  // namespace
}  // namespace veskar
