#include "QtPrint.h"
#include "TestFolder.h"
#include "app/Commands.h"
#include "app/HelpWindow.h"
#include "app/MainWindow.h"
#include "levels/SetptDialog.h"
#include "widgets/FileChooser.h"
#include "widgets/MessageService.h"

#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QMenu>
#include <QSlider>
#include <QTest>
#include <QTextBrowser>
#include <QToolBar>

#include <gtest/gtest.h>

namespace veskar {
namespace {

TEST(HelpTopics, EveryCommandHasAPage)
{
    for (const CommandInfo& info : Commands()) {
        const QString topic = QString::fromLatin1(info.helpTopic.data(), info.helpTopic.size());
        EXPECT_TRUE(HelpWindow::hasTopic(topic)) << static_cast<int>(info.id) << " " << topic.toStdString();
    }
    EXPECT_FALSE(HelpWindow::hasTopic(QStringLiteral("no-such-page.html")));
}

TEST(HelpWindow, ContentsPagesExistAndLinksResolve)
{
    HelpWindow help;
    for (int i = 0; i < help.contents()->count(); ++i) {
        const QString topic = help.contents()->item(i)->data(Qt::UserRole).toString();
        EXPECT_TRUE(HelpWindow::hasTopic(topic)) << topic.toStdString();
        // Every link on every page leads to a page that exists.
        QFile page(HelpWindow::resourcePath(topic));
        ASSERT_TRUE(page.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(page.readAll());
        static const QRegularExpression link(QStringLiteral("href=\"([^\"#]+)\""));
        for (auto match = link.globalMatch(html); match.hasNext();) {
            const QString target = match.next().captured(1);
            EXPECT_TRUE(HelpWindow::hasTopic(target))
                << topic.toStdString() << " -> " << target.toStdString();
        }
    }
}

TEST(HelpWindow, ShowsTopicsGoesBackAndFindsInPage)
{
    HelpWindow help;
    help.showTopic(QStringLiteral("levels.html"));
    EXPECT_EQ(help.currentTopic(), QStringLiteral("levels.html"));
    ASSERT_NE(help.contents()->currentItem(), nullptr);
    EXPECT_EQ(help.contents()->currentItem()->text(), QStringLiteral("Audio levels"));
    help.showTopic(QStringLiteral("missing.html"));
    EXPECT_EQ(help.currentTopic(), QStringLiteral("index.html"));
    help.browser()->backward();
    EXPECT_EQ(help.currentTopic(), QStringLiteral("levels.html"));

    help.showTopic(QStringLiteral("levels.html"));
    EXPECT_TRUE(help.findInPage(QStringLiteral("dBm")));
    EXPECT_EQ(help.browser()->textCursor().selectedText(), QStringLiteral("dBm"));
    EXPECT_TRUE(help.findInPage(QStringLiteral("dBm"))); // the next one, wrapping round at the end
    EXPECT_FALSE(help.findInPage(QStringLiteral("xylophone")));
}

class HelpKeysTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        window.InitFile();
        window.show();
        window.setDialogRunner([this](QDialog&) {
            ++dialogsRun;
            return 0;
        });
    }
    QString ShownTopic() const
    {
        return window.helpWindow() ? window.helpWindow()->currentTopic() : QString();
    }

    testing::TestFolder folder;
    ScriptedMessageService messages;
    ScriptedFileChooser files;
    MainWindow window{messages, files};
    int dialogsRun = 0;
};

TEST_F(HelpKeysTest, HelpModeShowsTheTopicInsteadOfRunningTheCommand)
{
    QTest::keyClick(&window, Qt::Key_F1, Qt::ShiftModifier);
    ASSERT_TRUE(window.inHelpMode());
    window.action(CommandId::Levels)->trigger();
    EXPECT_EQ(dialogsRun, 0);
    EXPECT_FALSE(window.inHelpMode());
    EXPECT_EQ(ShownTopic(), QStringLiteral("levels.html"));

    window.enterHelpMode();
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_FALSE(window.inHelpMode());
    window.action(CommandId::Levels)->trigger();
    EXPECT_EQ(dialogsRun, 1);
}

TEST_F(HelpKeysTest, HelpModeClickOnAGreyedToolbarButton)
{
    const int editor = 0;
    window.flags().hold(&editor, {&CommandFlags::pgmon});
    QWidget* button = window.toolBar()->widgetForAction(window.action(CommandId::Program));
    ASSERT_NE(button, nullptr);
    ASSERT_FALSE(button->isEnabled());
    window.enterHelpMode();
    // Through the window system, as a real click comes.
    const QPoint at = button->mapTo(&window, button->rect().center());
    QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, at);
    EXPECT_FALSE(window.inHelpMode());
    EXPECT_EQ(ShownTopic(), QStringLiteral("program.html"));
}

TEST_F(HelpKeysTest, F1ShowsTheTopicOfTheFocusedControl)
{
    SetptDialog dialog(&window, window.document(), messages);
    dialog.open();
    QTest::keyClick(dialog.slider(2), Qt::Key_F1);
    EXPECT_EQ(ShownTopic(), QStringLiteral("levels.html"));
    EXPECT_TRUE(dialog.isVisible());

    QTest::keyClick(&window, Qt::Key_F1);
    EXPECT_EQ(ShownTopic(), QStringLiteral("index.html"));
    dialog.reject();
}

// The editors run application-modal; the help they open must still take clicks.
TEST_F(HelpKeysTest, HelpFromAModalDialogCanBeUsed)
{
    SetptDialog dialog(&window, window.document(), messages);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.show();
    QTest::keyClick(dialog.slider(0), Qt::Key_F1);
    ASSERT_EQ(ShownTopic(), QStringLiteral("levels.html"));

    QListWidget* contents = window.helpWindow()->contents();
    const QRect open =
        contents->visualItemRect(contents->findItems(QStringLiteral("Open"), Qt::MatchExactly).front());
    // Through the window system, which drops input to windows a modal dialog blocks.
    HelpWindow* help = window.helpWindow();
    const QPoint at = contents->viewport()->mapTo(help, open.center());
    QTest::mouseClick(help->windowHandle(), Qt::LeftButton, {}, at);
    EXPECT_EQ(ShownTopic(), QStringLiteral("open.html"));
    dialog.reject();
}

TEST_F(HelpKeysTest, F1OnAHighlightedMenuItemDoesNotRunIt)
{
    QMenu* file = window.fileMenu();
    file->popup(window.mapToGlobal(QPoint(0, 0)));
    file->setActiveAction(window.action(CommandId::DefaultData));
    QTest::keyClick(file, Qt::Key_F1);
    EXPECT_EQ(ShownTopic(), QStringLiteral("default-database.html"));
    EXPECT_TRUE(messages.boxes.empty()); // the erase query was not asked
}

TEST_F(HelpKeysTest, HelpModeClickOnAMenuItemDoesNotRunIt)
{
    const struct {
        CommandId id;
        const char* topic;
    } cases[] = {
        {CommandId::DefaultData, "default-database.html"},
        {CommandId::CopyDir, "copy-directory.html"}, // greyed
    };
    for (const auto& c : cases) {
        QAction* command = window.action(c.id);
        QMenu* menu = nullptr;
        for (QObject* owner : command->associatedObjects())
            if (!menu)
                menu = qobject_cast<QMenu*>(owner);
        ASSERT_NE(menu, nullptr);
        menu->popup(window.mapToGlobal(QPoint(0, 0)));
        window.enterHelpMode();
        QTest::mouseClick(menu->windowHandle(), Qt::LeftButton, {}, menu->actionGeometry(command).center());
        EXPECT_EQ(ShownTopic(), QString::fromLatin1(c.topic));
        EXPECT_FALSE(window.inHelpMode());
        EXPECT_FALSE(menu->isVisible());
    }
    EXPECT_TRUE(messages.boxes.empty());
}

} // namespace
} // namespace veskar
