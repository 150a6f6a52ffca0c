#include "about/ProjectVersion.h"

#include <gtest/gtest.h>

namespace veskar {
namespace {

const VersionBlock kFull = {
    {"ProductName", "VWM"},         {"ProductVersion", "2.3.1"},   {"LegalCopyright", "(C) Maker"},
    {"LegalTrademarks", "TM text"}, {"SpecialBuild", "Build abc"},
};

VersionBlock Without(const char* entry)
{
    VersionBlock block = kFull;
    block.erase(entry);
    return block;
}

TEST(AboutLines, FromTheVersionEntries)
{
    struct Case {
        const char* name;
        std::optional<VersionBlock> block;
        AboutLines expected;
    };
    const Case cases[] = {
        {"full", kFull, {"VWM Version 2.3.1", "(C) Maker", "TM text", "Build abc"}},
        {"no special build", Without("SpecialBuild"), {"VWM Version 2.3.1", "(C) Maker", "TM text", ""}},
        {"no product name", Without("ProductName"), {"Version", "(C) Maker", "TM text", "Build abc"}},
        {"no product version", Without("ProductVersion"), {"Version", "(C) Maker", "TM text", "Build abc"}},
        {"no block", std::nullopt, {"Version", "", "", ""}},
    };
    for (const Case& c : cases) {
        const AboutLines lines = MakeAboutLines(TProjectRCVersion(c.block));
        EXPECT_EQ(lines.product, c.expected.product) << c.name;
        EXPECT_EQ(lines.copyright, c.expected.copyright) << c.name;
        EXPECT_EQ(lines.trademark, c.expected.trademark) << c.name;
        EXPECT_EQ(lines.build, c.expected.build) << c.name;
    }
}

TEST(TProjectRCVersion, MissingEntryLeavesTheOutParameter)
{
    std::string out = "unchanged";
    EXPECT_FALSE(TProjectRCVersion(std::nullopt).GetProductName(out));
    EXPECT_FALSE(TProjectRCVersion(Without("LegalTrademarks")).GetTrademark(out));
    EXPECT_EQ(out, "unchanged");
    EXPECT_TRUE(TProjectRCVersion(kFull).GetDebug(out));
    EXPECT_EQ(out, "Build abc");
}

} // namespace
} // namespace veskar
