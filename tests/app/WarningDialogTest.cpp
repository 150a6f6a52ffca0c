#include "QtPrint.h"
#include "widgets/CommandFlags.h"
#include "widgets/WarningDialog.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace veskar {
namespace {

TEST(WarningDialog, YesDiscardsNoKeepsEditing)
{
    struct Case {
        bool pressYes;
        unsigned char flag;
        int result;
    };
    for (const Case& c : {Case{true, 0, QDialog::Accepted}, Case{false, 1, QDialog::Rejected}}) {
        UniversalFlag = c.flag == 0 ? 1 : 0;
        WarningDialog dialog(nullptr, QStringLiteral(" User settings"));
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("WARNING"));
        EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("line351"))->text(),
                  QStringLiteral("All changes made to  User settings will be lost."));
        EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("line352"))->text(), QStringLiteral("Proceed?"));
        EXPECT_EQ(dialog.yesButton()->text(), QStringLiteral("&Yes"));
        EXPECT_EQ(dialog.noButton()->text(), QStringLiteral("&No"));
        dialog.open();
        QTest::mouseClick(c.pressYes ? dialog.yesButton() : dialog.noButton(), Qt::LeftButton);
        EXPECT_EQ(UniversalFlag, c.flag);
        EXPECT_EQ(dialog.result(), c.result);
        EXPECT_FALSE(dialog.isVisible());
    }
}

} // namespace
} // namespace veskar
