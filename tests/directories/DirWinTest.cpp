#include "directories/CopyDirDialog.h"
#include "directories/DirDialog.h"
#include "directories/DirWin.h"

#include "../app/QtPrint.h"
#include "../app/TestFolder.h"
#include "app/MainWindow.h"
#include "widgets/FileChooser.h"
#include "widgets/MessageService.h"

#include <QAction>
#include <QLineEdit>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace std::string_literals;

namespace veskar {
namespace {

using enum LineCommand;

void Store(DirectoryBlock& block, const std::string& bytes)
{
    std::copy(bytes.begin(), bytes.end(), block.begin());
}

std::string Content(const DirectoryBlock& block)
{
    const std::size_t length = DirectoryContentLength(block);
    return {block.begin(), block.begin() + static_cast<std::ptrdiff_t>(length)};
}

class DirWinTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        Image image;
        CreateDatabase(image);
        Store(image.dir[0], "&\0"s);            // A: empty
        Store(image.dir[1], "RN&X&P:::1M&\0"s); // B: an AUTO ACK line in the middle
        Store(image.dir[2], "R&&N&\0"s);        // C: an empty line in the middle
        folder.writeBytes("Veskar.cfg", QByteArray(16, '\0'));
        folder.writeImage("Veskar.dat", image);
        main = std::make_unique<MainWindow>(messages, files);
        main->setClock([] { return 0; });
        main->InitFile();
        main->setDialogRunner([this](QDialog& dialog) {
            if (auto* form = dynamic_cast<DirDialog*>(&dialog)) {
                ++formsRun;
                if (fillForm)
                    fillForm(*form);
            }
            return dialog.result();
        });
    }
    void TearDown() override
    {
        for (const QPointer<DirWin>& window : windows)
            delete window.data();
        main.reset();
    }
    DirWin& Open(int directory)
    {
        windows.push_back(new DirWin(*main, directory));
        windows.back()->show();
        return *windows.back();
    }
    bool Enabled(CommandId id) const { return main->action(id)->isEnabled(); }
    Image& image() { return main->document().image; }

    testing::TestFolder folder;
    ScriptedMessageService messages;
    ScriptedFileChooser files;
    std::unique_ptr<MainWindow> main;
    std::vector<QPointer<DirWin>> windows;
    int formsRun = 0;
    std::function<void(DirDialog&)> fillForm;
};

TEST_F(DirWinTest, FlagsAndCascadeWhileOpen)
{
    const int before = DirWin::DirsOpen();
    DirWin& a = Open(0);
    EXPECT_EQ(a.windowTitle(), QStringLiteral("DIRECTORY A"));
    a.command(5729)->showStatusText(a.findChild<QMenuBar*>()); // the item highlighted
    EXPECT_EQ(main->statusBar()->currentMessage(), QStringLiteral("Edit the selected directory line"));
    for (CommandId id : {CommandId::DirA, CommandId::FileOpen, CommandId::FileSave, CommandId::Program,
                         CommandId::DefaultData, CommandId::CopyDir, CommandId::Summary})
        EXPECT_FALSE(Enabled(id)) << static_cast<int>(id);
    EXPECT_TRUE(Enabled(CommandId::DirB));
    EXPECT_TRUE(Enabled(CommandId::Users));
    DirWin& d = Open(3);
    EXPECT_EQ(DirWin::DirsOpen(), before + 2);
    EXPECT_EQ(d.pos() - a.pos(), QPoint(10, 10));

    a.CmWinCancel();
    EXPECT_FALSE(a.isVisible());
    EXPECT_TRUE(Enabled(CommandId::DirA));
    EXPECT_FALSE(Enabled(CommandId::FileOpen)); // D still holds it
    d.CmWinExit();
    EXPECT_EQ(DirWin::DirsOpen(), before);
    for (CommandId id : {CommandId::DirD, CommandId::FileOpen, CommandId::Program, CommandId::DefaultData,
                         CommandId::CopyDir})
        EXPECT_TRUE(Enabled(id)) << static_cast<int>(id);
    EXPECT_TRUE(messages.boxes.empty());
    EXPECT_FALSE(main->document().DatabaseChanged);
}

TEST_F(DirWinTest, BuildADialLineAndARadioLineThenSave)
{
    DirWin& a = Open(0);
    QTest::keyClick(a.list(), Qt::Key_Down); // an empty directory: nowhere to go
    EXPECT_EQ(a.selectedLine(), 0);
    fillForm = [](DirDialog& form) {
        form.commandButton(Dial)->click();
        form.commandButton(Voice)->click();
        form.commandButton(Dtmf)->click();
        form.valueField(0)->setText(QStringLiteral("0123-456"));
        form.valueField(2)->setText(QStringLiteral("#"));
        form.accept();
    };
    QTest::keyClick(a.list(), Qt::Key_Return);
    EXPECT_EQ(formsRun, 1);
    QTest::keyClick(a.list(), Qt::Key_Down);
    EXPECT_EQ(a.selectedLine(), 1);
    fillForm = [](DirDialog& form) {
        form.commandButton(Radio)->click();
        form.commandButton(FiveTone)->click();
        form.valueField(1)->setText(QStringLiteral(".12345u"));
        form.commandButton(Voice)->click();
        form.accept();
    };
    a.command(5729)->trigger(); // Edit Line
    EXPECT_EQ(a.lines().lineCount(), 2);
    EXPECT_TRUE(messages.boxes.empty()) << messages.Texts().join(QStringLiteral(" | ")).toStdString();

    a.command(5730)->trigger(); // Exit and Save
    EXPECT_FALSE(a.isVisible());
    EXPECT_EQ(Content(image().dir[0]), "P:123456VQ<&RF.12345UV&\0"s);
    EXPECT_TRUE(main->document().DatabaseChanged);
}

TEST_F(DirWinTest, CancelAfterEditsAsksAndLeavesTheConfigurationUnchanged)
{
    const Image stored = image();
    DirWin& a = Open(0);
    fillForm = [](DirDialog& form) {
        form.commandButton(Wait)->click();
        form.valueField(0)->setText(QStringLiteral("010"));
        form.accept();
    };
    a.EditLine();
    messages.ScriptDiscard(false);
    a.CmWinCancel();
    EXPECT_TRUE(a.isVisible());
    EXPECT_EQ(messages.Texts(),
              QStringList{QStringLiteral("All changes made to this Directory will be lost.")});
    messages.ScriptDiscard(true);
    a.CmWinCancel();
    EXPECT_FALSE(a.isVisible());
    EXPECT_EQ(image(), stored);
    EXPECT_FALSE(main->document().DatabaseChanged);
}

TEST_F(DirWinTest, AutoAckInTheMiddle)
{
    DirWin& b = Open(1);
    EXPECT_EQ(b.lines().lineCount(), 3);
    b.selectLine(2);
    b.EditLine();
    EXPECT_EQ(messages.Texts(), QStringList{QStringLiteral("Entries after AUTO ACK are not allowed.")});
    EXPECT_EQ(formsRun, 0);

    b.selectLine(1);
    fillForm = [](DirDialog& form) { form.accept(); }; // confirmed as it is
    QTest::keyClick(b.list(), Qt::Key_Return);
    EXPECT_EQ(b.lines().lineCount(), 2); // the line after it is gone
    QTest::keyClick(b.list(), Qt::Key_Delete);
    EXPECT_EQ(b.lines().lineCount(), 1);
    b.CmWinExit();
    EXPECT_EQ(Content(image().dir[1]), "RN&\0"s);
}

TEST_F(DirWinTest, InsertedLineThatStaysEmptyIsTakenOutAgain)
{
    DirWin& b = Open(1);
    fillForm = [](DirDialog& form) { form.reject(); };
    QTest::keyClick(b.list(), Qt::Key_Insert);
    EXPECT_EQ(formsRun, 1);
    EXPECT_EQ(b.lines().lineCount(), 3);
    EXPECT_EQ(b.lines().lines[0].commands[0].opcode, 'R');

    fillForm = [](DirDialog& form) {
        form.commandButton(Radio)->click();
        form.commandButton(Alert)->click();
        form.accept();
    };
    QTest::keyClick(b.list(), Qt::Key_Insert);
    EXPECT_EQ(b.lines().lineCount(), 4);
    b.CmWinExit();
    EXPECT_EQ(Content(image().dir[1]), "RN&RN&X&P:::1M&\0"s);
}

TEST_F(DirWinTest, ABlockItCannotShowWholeIsNeverShortenedSilently)
{
    const Image stored = image();
    DirWin& c = Open(2);
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].text,
              QStringLiteral("Directory C holds entries this window cannot show, which are left out:\n"
                             "- an empty line with more lines after it"));
    c.CmWinCancel(); // nothing edited: closes without a question and without writing
    EXPECT_FALSE(c.isVisible());
    EXPECT_EQ(image(), stored);

    DirWin& again = Open(2);
    again.CmWinExit(); // the question is answered No: still open, nothing written
    EXPECT_TRUE(again.isVisible());
    EXPECT_EQ(messages.Texts().last(),
              QStringLiteral(
                  "Directory C will be saved without the entries this window could not show - Proceed?"));
    EXPECT_EQ(image(), stored);
    messages.Script(MessageService::Answer::Yes);
    again.CmWinExit();
    EXPECT_FALSE(again.isVisible());
    EXPECT_EQ(Content(image().dir[2]), "R&\0"s);
    EXPECT_TRUE(main->document().DatabaseChanged);
}

TEST_F(DirWinTest, CopyDirectoryAsksNamingBoth)
{
    CopyDirDialog copy(main.get(), main->document(), messages);
    copy.show();
    for (int d = 0; d < 4; ++d)
        EXPECT_FALSE(copy.from(d)->isChecked() || copy.to(d)->isChecked()) << d;
    copy.copyButton()->click(); // no direction: nothing
    EXPECT_TRUE(messages.boxes.empty());

    copy.to(0)->click(); // To A disables From A
    EXPECT_FALSE(copy.from(0)->isEnabled());
    copy.to(1)->click();
    EXPECT_TRUE(copy.from(0)->isEnabled());
    EXPECT_FALSE(copy.from(1)->isEnabled());
    copy.from(0)->click(); // From A disables To A
    EXPECT_FALSE(copy.to(0)->isEnabled());
    EXPECT_TRUE(copy.to(1)->isChecked());

    const Image stored = image();
    copy.copyButton()->click(); // No
    EXPECT_EQ(messages.Texts(),
              QStringList{QStringLiteral(
                  "The contents of Directory B will be replaced with Directory A - Proceed?")});
    EXPECT_EQ(image(), stored);
    EXPECT_FALSE(main->document().DatabaseChanged);
    messages.Script(MessageService::Answer::Yes);
    copy.copyButton()->click();
    EXPECT_EQ(Content(image().dir[1]), "&\0"s);
    EXPECT_TRUE(main->document().DatabaseChanged);
    EXPECT_TRUE(copy.isVisible());
}

TEST_F(DirWinTest, MainWindowCommandsOpenTheWindows)
{
    main->action(CommandId::DirC)->trigger();
    DirWin* c = main->findChild<DirWin*>(QStringLiteral("DirWinC"));
    ASSERT_NE(c, nullptr);
    windows.push_back(c);
    EXPECT_TRUE(c->isVisible());
    EXPECT_FALSE(Enabled(CommandId::DirC));
}

} // namespace
} // namespace veskar
