#include "report/OverviewWidget.h"

#include "../app/TestFolder.h"
#include "ReportImages.h"
#include "app/MainWindow.h"
#include "report/PrintoutWin.h"
#include "widgets/FileChooser.h"
#include "widgets/MessageService.h"

#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace veskar {
namespace {

class OverviewWidgetTest : public ::testing::Test {
  protected:
    OverviewWidgetTest()
    {
        main = std::make_unique<MainWindow>(messages, files);
        main->InitFile();
        overview = qobject_cast<OverviewWidget*>(main->centralWidget());
    }

    testing::TestFolder folder;
    ScriptedMessageService messages;
    ScriptedFileChooser files;
    std::unique_ptr<MainWindow> main;
    OverviewWidget* overview = nullptr;
};

TEST_F(OverviewWidgetTest, FollowsAnOpenedFileAndRedrawsOnlyOnAChange)
{
    ASSERT_NE(overview, nullptr);
    EXPECT_TRUE(
        overview->sectionLabel(OverviewTarget::Warnings)->text().contains(QStringLiteral("Warnings: 2")));
    const int before = overview->rebuilds();
    main->touchDocument();
    EXPECT_EQ(overview->rebuilds(), before);

    folder.writeImage(QStringLiteral("clean.dat"), test::CleanImage());
    files.Script(folder.path(QStringLiteral("clean.dat")));
    main->action(CommandId::FileOpen)->trigger();
    EXPECT_EQ(overview->rebuilds(), before + 1);
    EXPECT_TRUE(
        overview->sectionLabel(OverviewTarget::Warnings)->text().contains(QStringLiteral("Warnings: 0")));
    EXPECT_TRUE(overview->sectionLabel(OverviewTarget::System)->text().contains(QStringLiteral("clean.dat")));
    EXPECT_TRUE(
        overview->sectionLabel(OverviewTarget::DirA)->text().contains(QStringLiteral("[DIAL]0123456")));
}

TEST_F(OverviewWidgetTest, AClickOpensTheEditorOrTheSummaryOnThatKind)
{
    int systemEditors = 0;
    main->setCommandHandler(CommandId::System, [&] { ++systemEditors; });
    QTest::mouseClick(overview->sectionLabel(OverviewTarget::System), Qt::LeftButton);
    EXPECT_EQ(systemEditors, 1);
    EXPECT_EQ(PrintoutWin::Find(*main), nullptr);

    // The summary blocks the editors, so their sections show it on their kind.
    struct Case {
        OverviewTarget target;
        PageKind shown;
    };
    const Case cases[] = {
        {OverviewTarget::Warnings, PageKind::Warnings},
        {OverviewTarget::DirC, PageKind::Directories},
        {OverviewTarget::Users, PageKind::Operators},
        {OverviewTarget::System, PageKind::System},
    };
    for (const Case& c : cases) {
        QTest::mouseClick(overview->sectionLabel(c.target), Qt::LeftButton);
        auto* summary = PrintoutWin::Find(*main);
        ASSERT_NE(summary, nullptr);
        EXPECT_EQ(summary->navigator().kind(), c.shown);
    }
    EXPECT_NE(PrintoutWin::Find(*main), nullptr);
    EXPECT_EQ(systemEditors, 1);
}

} // namespace
} // namespace veskar
