#include "about/AboutDialog.h"

#include "../app/QtPrint.h"

#include <gtest/gtest.h>

namespace veskar {
namespace {

TEST(AboutDialog, ShowsTheVersionEntries)
{
    const VersionBlock block = {{"ProductName", "VWM"},
                                {"ProductVersion", "1.2.3"},
                                {"LegalCopyright", "(C) Maker"},
                                {"LegalTrademarks", "TM"}};
    AboutDialog dialog(nullptr, ProjectVersion(block));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("About the Corvane Veskar Worker Monitor"));
    EXPECT_EQ(dialog.productLine(), QStringLiteral("VWM Version 1.2.3"));
    EXPECT_EQ(dialog.copyrightLine(), QStringLiteral("(C) Maker"));
    EXPECT_EQ(dialog.trademarkLine(), QStringLiteral("TM"));
    EXPECT_EQ(dialog.buildLine(), QString());

    AboutDialog bare(nullptr, ProjectVersion(std::nullopt));
    EXPECT_EQ(bare.productLine(), QStringLiteral("Version"));
    EXPECT_EQ(bare.copyrightLine(), QString());
}

} // namespace
} // namespace veskar
