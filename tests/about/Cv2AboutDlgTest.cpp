#include "about/Cv2AboutDlg.h"

#include "../app/QtPrint.h"

#include <gtest/gtest.h>

namespace veskar {
namespace {

TEST(Cv2AboutDlg, ShowsTheVersionEntries)
{
    const VersionBlock block = {{"ProductName", "VWM"},
                                {"ProductVersion", "1.2.3"},
                                {"LegalCopyright", "(C) Maker"},
                                {"LegalTrademarks", "TM"}};
    Cv2AboutDlg dialog(nullptr, TProjectRCVersion(block));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("About the Corvane Veskar Worker Monitor"));
    EXPECT_EQ(dialog.productLine(), QStringLiteral("VWM Version 1.2.3"));
    EXPECT_EQ(dialog.copyrightLine(), QStringLiteral("(C) Maker"));
    EXPECT_EQ(dialog.trademarkLine(), QStringLiteral("TM"));
    EXPECT_EQ(dialog.buildLine(), QString());

    Cv2AboutDlg bare(nullptr, TProjectRCVersion(std::nullopt));
    EXPECT_EQ(bare.productLine(), QStringLiteral("Version"));
    EXPECT_EQ(bare.copyrightLine(), QString());
}

} // namespace
} // namespace veskar
