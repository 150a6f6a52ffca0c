#include "report/PrintoutWin.h"

#include "../app/TestFolder.h"
#include "ReportImages.h"
#include "app/MainWindow.h"
#include "widgets/FileChooser.h"
#include "widgets/MessageService.h"
#include "widgets/ScreenFit.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPrintDialog>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>

namespace veskar {
namespace {

using Stop = std::pair<PageKind, int>;

class PrintoutWinTest : public ::testing::Test {
  protected:
    PrintoutWinTest()
    {
        main = std::make_unique<MainWindow>(messages, files);
        main->InitFile();
    }

    PrintoutWin& OpenSummary()
    {
        main->action(CommandId::Summary)->trigger();
        auto* window = PrintoutWin::Find(*main);
        EXPECT_NE(window, nullptr);
        return *window;
    }

    // Pages in a PDF: its page objects.
    static int PdfPages(const QByteArray& pdf)
    {
        return static_cast<int>(pdf.count("/Type /Page\n") + pdf.count("/Type /Page ") +
                                pdf.count("/Type /Page>"));
    }

    testing::TestFolder folder;
    ScriptedMessageService messages;
    ScriptedFileChooser files;
    std::unique_ptr<MainWindow> main;
};

TEST_F(PrintoutWinTest, SummaryOpensOnTheOperatorPagesAndBlocksTheEditorsUntilClosed)
{
    const CommandId blocked[] = {CommandId::Users, CommandId::System, CommandId::Summary, CommandId::Levels,
                                 CommandId::DirA,  CommandId::DirB,   CommandId::DirC,    CommandId::DirD};
    PrintoutWin& window = OpenSummary();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("SUMMARY"));
    EXPECT_EQ(Stop(window.navigator().kind(), window.navigator().page()), Stop(PageKind::Operators, 0));
    EXPECT_EQ(window.currentPage().lineAt(kFirstBodyRow)->text.substr(0, 12), "Operator 1  ");
    for (CommandId id : blocked)
        EXPECT_FALSE(main->flags().allowed(id)) << static_cast<int>(id);
    EXPECT_FALSE(main->action(CommandId::Summary)->isEnabled());
    main->runCommand(static_cast<int>(CommandId::Summary));
    EXPECT_NE(PrintoutWin::Find(*main), nullptr);

    window.action(PrintoutWin::CmWinClose)->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(PrintoutWin::Find(*main), nullptr);
    for (CommandId id : blocked)
        EXPECT_TRUE(main->flags().allowed(id)) << static_cast<int>(id);
}

TEST_F(PrintoutWinTest, WidthFitsTheScreenCentred)
{
    PrintoutWin& window = OpenSummary();
    const QRect screen = window.screen()->availableGeometry();
    EXPECT_EQ(window.width(), FitToScreen(screen.width()).width);
    EXPECT_EQ(window.x(), screen.left() + CentredLeft(screen.width(), window.width()));
    for (int screenWidth : {640, 799, 800, 1920})
        EXPECT_EQ(LayoutForScreen(screenWidth).width, screenWidth < 800 ? 620 : 720) << screenWidth;
    EXPECT_GT(LayoutForScreen(1920).lineHeight, LayoutForScreen(640).lineHeight); // the wider font
}

TEST_F(PrintoutWinTest, OpenedForTheWarningsShowsTheirFirstPage)
{
    PrintoutWin* window = PrintoutWin::Open(*main, SummaryMode::Warnings);
    EXPECT_EQ(window->currentPage().lineAt(3)->text, "Warnings - Page 1");
    EXPECT_EQ(PrintoutWin::Open(*main, SummaryMode::Operators), window); // the same window, on another kind
    EXPECT_EQ(window->navigator().kind(), PageKind::Operators);
}

// The programming questions wait over a window-modal dialog; the summary they
// open must still take input, or the user cannot read the warnings they ask
// about; the window manager is to keep it above the main window all the same
// (it is shown as its transient).
TEST_F(PrintoutWinTest, StaysUsableWhileAQuestionWaitsOverAModalDialog)
{
    struct BlockedWindows final : QObject {
        bool eventFilter(QObject* watched, QEvent* event) override
        {
            if (event->type() == QEvent::WindowBlocked)
                blocked.insert(watched);
            if (event->type() == QEvent::WindowUnblocked)
                blocked.erase(watched);
            if (auto* window = qobject_cast<QWindow*>(watched); window && event->type() == QEvent::Show)
                shownOver[window] = window->transientParent();
            return false;
        }
        std::set<QObject*> blocked;
        std::map<QWindow*, QWindow*> shownOver;
    } recorder;
    qApp->installEventFilter(&recorder);

    main->show();
    QDialog programming(main.get());
    programming.setWindowModality(Qt::WindowModal);
    programming.show();
    PrintoutWin* summary = PrintoutWin::Open(*main, SummaryMode::Warnings);
    EXPECT_EQ(recorder.shownOver[summary->windowHandle()], main->windowHandle());
    EXPECT_EQ(summary->x(), summary->screen()->availableGeometry().left()); // no room beside the dialog
    bool summaryBlockedDuringQuestion = true;
    bool mainBlockedDuringQuestion = false;
    QTimer::singleShot(0, [&] {
        summaryBlockedDuringQuestion = recorder.blocked.contains(summary);
        mainBlockedDuringQuestion = recorder.blocked.contains(main.get());
        QApplication::activeModalWidget()->close();
    });
    QtMessageService().Show(&programming, QStringLiteral("Question"), MessageService::Icon::Question,
                            MessageService::Buttons::YesNo, QStringLiteral("Continue?"));
    qApp->removeEventFilter(&recorder);

    EXPECT_FALSE(summaryBlockedDuringQuestion);
    EXPECT_TRUE(mainBlockedDuringQuestion);
}

TEST_F(PrintoutWinTest, PagingAndGreying)
{
    enum Step { Next, Last, PageDown, PageUp };
    struct Case {
        int menu;
        std::vector<Step> steps;
        Stop shown;
        bool nextOn;
        bool lastOn;
    };
    const Case cases[] = {
        {PrintoutWin::CmPrintOperator, {}, {PageKind::Operators, 0}, true, false},
        {PrintoutWin::CmPrintOperator, {Next, Next}, {PageKind::Operators, 2}, true, true},
        {PrintoutWin::CmPrintOperator, std::vector<Step>(9, PageDown), {PageKind::Operators, 7}, false, true},
        {PrintoutWin::CmPrintGeneral, {}, {PageKind::System, 0}, false, false},
        {PrintoutWin::CmPrintGeneral, {PageDown, Next, PageUp}, {PageKind::System, 0}, false, false},
        {PrintoutWin::CmPrintDirs, {Next}, {PageKind::Directories, 0}, false, false},
        {PrintoutWin::CmPrintWarnings, {}, {PageKind::Warnings, 0}, false, false},
        {PrintoutWin::CmPrintAll, std::vector<Step>(8, Next), {PageKind::System, 0}, true, true},
        {PrintoutWin::CmPrintAll, std::vector<Step>(9, Next), {PageKind::Directories, 0}, false, true},
        {PrintoutWin::CmPrintAll,
         {Next, Next, Next, Next, Next, Next, Next, Next, Last},
         {PageKind::Operators, 0},
         true,
         false},
        {PrintoutWin::CmPrintAll, {Last, PageUp}, {PageKind::Operators, 0}, true, false},
    };
    PrintoutWin& window = OpenSummary();
    for (const Case& c : cases) {
        window.action(static_cast<PrintoutWin::Command>(c.menu))->trigger();
        for (Step step : c.steps) {
            switch (step) {
            case Next: window.action(PrintoutWin::CmNextPage)->trigger(); break;
            case Last: window.action(PrintoutWin::CmLastPage)->trigger(); break;
            case PageDown: QTest::keyClick(&window, Qt::Key_PageDown); break;
            case PageUp: QTest::keyClick(&window, Qt::Key_PageUp); break;
            }
        }
        EXPECT_EQ(Stop(window.navigator().kind(), window.navigator().page()), c.shown) << c.menu;
        EXPECT_EQ(window.action(PrintoutWin::CmNextPage)->isEnabled(), c.nextOn) << c.menu;
        EXPECT_EQ(window.action(PrintoutWin::CmLastPage)->isEnabled(), c.lastOn) << c.menu;
    }
}

TEST_F(PrintoutWinTest, ArrowsAndKeypadScrollOneUnitANewPageStartsAtTheTop)
{
    PrintoutWin& window = OpenSummary();
    QScrollBar* bar = window.scroller()->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 30);
    QTest::keyClick(&window, Qt::Key_Down);
    QTest::keyClick(&window, Qt::Key_Plus, Qt::KeypadModifier);
    QTest::keyClick(&window, Qt::Key_Down);
    EXPECT_EQ(bar->value(), 30);
    QTest::keyClick(&window, Qt::Key_Minus, Qt::KeypadModifier);
    QTest::keyClick(&window, Qt::Key_Plus); // not the keypad: no scrolling
    EXPECT_EQ(bar->value(), 20);
    QTest::keyClick(&window, Qt::Key_PageDown);
    EXPECT_EQ(bar->value(), 0);
}

TEST_F(PrintoutWinTest, FollowsTheDocument)
{
    PrintoutWin* window = PrintoutWin::Open(*main, SummaryMode::Warnings);
    ASSERT_NE(window->currentPage().lineAt(kFirstBodyRow), nullptr);
    main->document().image = test::CleanImage();
    main->touchDocument();
    EXPECT_EQ(window->currentPage().lineAt(kFirstBodyRow), nullptr); // nothing to warn about
}

TEST_F(PrintoutWinTest, PdfHoldsOneReportPagePerPage)
{
    struct Case {
        int menu;
        int pages;
    };
    const Case cases[] = {
        {PrintoutWin::CmPrintOperator, 8}, {PrintoutWin::CmPrintGeneral, 1},  {PrintoutWin::CmPrintDirs, 1},
        {PrintoutWin::CmPrintAll, 10},     {PrintoutWin::CmPrintWarnings, 1},
    };
    PrintoutWin& window = OpenSummary();
    for (const Case& c : cases) {
        window.action(static_cast<PrintoutWin::Command>(c.menu))->trigger();
        window.setPdfNameChooser(
            [&] { return std::optional<QString>(folder.path(QStringLiteral("out.pdf"))); });
        window.action(PrintoutWin::CmExportPdf)->trigger();
        const QByteArray pdf = folder.readBytes(QStringLiteral("out.pdf"));
        EXPECT_TRUE(pdf.startsWith("%PDF")) << c.menu;
        EXPECT_EQ(PdfPages(pdf), c.pages) << c.menu;
        EXPECT_EQ(static_cast<int>(window.PagesToPrint().size()), c.pages) << c.menu;
    }
    EXPECT_TRUE(messages.boxes.empty());
}

TEST_F(PrintoutWinTest, AnUnwritablePdfIsReportedAndNothingIsWritten)
{
    PrintoutWin& window = OpenSummary();
    const QString name = folder.path(QStringLiteral("missing/out.pdf"));
    EXPECT_FALSE(window.ExportPdf(name));
    ASSERT_EQ(messages.boxes.size(), 1U);
    EXPECT_EQ(messages.boxes[0].caption, QStringLiteral("File Error"));
    EXPECT_EQ(messages.boxes[0].text, QStringLiteral(" CANNOT WRITE THE PDF FILE ") + name + " (no such folder)");
    EXPECT_FALSE(QFile::exists(name));
}

TEST_F(PrintoutWinTest, PrintSendsEveryPageOfTheKindOnceThroughThePrinterDialog)
{
    const QString output = folder.path(QStringLiteral("printed.pdf"));
    int dialogs = 0;
    main->setDialogRunner([&](QDialog& dialog) {
        auto* print = qobject_cast<QPrintDialog*>(&dialog);
        EXPECT_NE(print, nullptr);
        EXPECT_FALSE(print->testOption(QAbstractPrintDialog::PrintPageRange));
        ++dialogs;
        print->printer()->setOutputFormat(QPrinter::PdfFormat);
        print->printer()->setOutputFileName(output);
        return int(QDialog::Accepted);
    });
    PrintoutWin& window = OpenSummary();
    window.action(PrintoutWin::CmPrintAll)->trigger();
    window.action(PrintoutWin::CmNextPage)->trigger();
    window.action(PrintoutWin::CmFilePrint)->trigger();
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(PdfPages(folder.readBytes(QStringLiteral("printed.pdf"))), 10);
    EXPECT_EQ(window.navigator().page(), 1); // the page shown stays

    // Cancel in the printing dialog, pressed while the first page goes out: it is the only one.
    QString printing;
    QTimer::singleShot(0, [&] {
        QWidget* shown = QApplication::activeModalWidget();
        printing = shown->windowTitle() + QLatin1Char('/') + shown->findChild<QLabel*>()->text();
        shown->findChild<QPushButton*>()->click();
    });
    window.action(PrintoutWin::CmFilePrint)->trigger();
    EXPECT_EQ(printing, QStringLiteral("Printing/Now printing"));
    EXPECT_EQ(PdfPages(folder.readBytes(QStringLiteral("printed.pdf"))), 1);
}

} // namespace
} // namespace veskar
