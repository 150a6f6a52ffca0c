#include "directories/ValueChecks.h"

#include <gtest/gtest.h>

namespace veskar {
namespace {

struct CleaningCase {
    std::string in;
    bool invalid;
    std::string cleaned;
};

TEST(ValueChecks, CheckPhone)
{
    const CleaningCase cases[] = {
        {"12 3-4", false, "1234"}, {"12A4", true, "12A4"}, {"", false, ""},
        {"0*#!9", false, "0*#!9"}, {"- -", false, ""},     {"1.2", true, "1.2"},
    };
    for (const CleaningCase& c : cases) {
        std::string text = c.in;
        EXPECT_EQ(CheckPhone(text), c.invalid) << c.in;
        EXPECT_EQ(text, c.cleaned) << c.in;
    }
}

TEST(ValueChecks, CheckDTMF)
{
    const CleaningCase cases[] = {
        {"1a#", false, "1A#"}, {"abcd*!0", false, "ABCD*!0"}, {"1e2", true, "1e2"}, {"1 2", true, "1 2"}, {"", false, ""},
    };
    for (const CleaningCase& c : cases) {
        std::string text = c.in;
        EXPECT_EQ(CheckDTMF(text), c.invalid) << c.in;
        EXPECT_EQ(text, c.cleaned) << c.in;
    }
}

TEST(ValueChecks, CheckNumberAndCheckFloat)
{
    const std::pair<const char*, bool> numbers[] = {{"", false}, {"0123456789", false}, {"12a", true}, {"-1", true}, {"1.0", true}};
    for (const auto& [text, invalid] : numbers)
        EXPECT_EQ(CheckNumber(text), invalid) << text;

    const std::pair<const char*, bool> floats[] = {{"-12.5", false}, {"+1", false}, {"1-2", true}, {"..", false}, {"1e3", true}, {"", false}, {"--1", true}};
    for (const auto& [text, invalid] : floats)
        EXPECT_EQ(CheckFloat(text), invalid) << text;
}

}  // namespace
}  // namespace veskar
