#include "directories/ValueChecks.h"

#include <gtest/gtest.h>

namespace veskar {
namespace {

// Each check: the verdict (true = an invalid character) and the text it leaves.
TEST(ValueChecks, VerdictAndCleanedText)
{
    using Check = bool (*)(std::string&);
    const Check phone = CheckPhone, dtmf = CheckDTMF;
    const Check number = [](std::string& t) { return CheckNumber(t); };
    const Check decimal = [](std::string& t) { return CheckFloat(t); };
    const struct {
        Check check;
        std::string in;
        bool invalid;
        std::string cleaned;
    } cases[] = {
        {phone, "12 3-4", false, "1234"}, {phone, "12A4", true, "12A4"},   {phone, "", false, ""},
        {phone, "0*#!9", false, "0*#!9"}, {phone, "- -", false, ""},       {phone, "1.2", true, "1.2"},
        {dtmf, "1a#", false, "1A#"},      {dtmf, "abcd*!0", false, "ABCD*!0"}, {dtmf, "1e2", true, "1e2"},
        {dtmf, "1 2", true, "1 2"},       {dtmf, "", false, ""},           {number, "", false, ""},
        {number, "0123456789", false, "0123456789"}, {number, "12a", true, "12a"}, {number, "-1", true, "-1"},
        {number, "1.0", true, "1.0"},     {decimal, "-12.5", false, "-12.5"}, {decimal, "+1", false, "+1"},
        {decimal, "1-2", true, "1-2"},    {decimal, "..", false, ".."},    {decimal, "1e3", true, "1e3"},
        {decimal, "", false, ""},         {decimal, "--1", true, "--1"},
    };
    for (const auto& c : cases) {
        std::string text = c.in;
        EXPECT_EQ(c.check(text), c.invalid) << c.in;
        EXPECT_EQ(text, c.cleaned) << c.in;
    }
}

}  // namespace
}  // namespace veskar
