#include "QtPrint.h"
#include "TestFolder.h"
#include "app/MainWindow.h"
#include "app/Startup.h"
#include "levels/SetptDialog.h"
#include "widgets/EditorWindow.h"
#include "widgets/FileChooser.h"
#include "widgets/MessageService.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPointer>
#include <QSettings>
#include <QSlider>
#include <QStatusBar>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace veskar {
namespace {

using testing::MarkedImage;
using Answer = MessageService::Answer;
using Box = ScriptedMessageService::Box;
using Kind = ScriptedFileChooser::Kind;

const QString kFileError = QStringLiteral("File Error");

class MainWindowTest : public ::testing::Test {
  protected:
    MainWindow& Start()
    {
        window = std::make_unique<MainWindow>(messages, files);
        window->setClock([this] { return now; });
        window->InitFile();
        return *window;
    }

    // Lets time pass and one event through, then whatever that event queued.
    void PassTime(qint64 ms)
    {
        now = ms;
        QEvent nudge(QEvent::User);
        QCoreApplication::sendEvent(window.get(), &nudge);
        QCoreApplication::sendPostedEvents();
    }

    QString Title() const { return window->windowTitle().remove(QStringLiteral("[*]")); }
    static QString Titled(const QString& file)
    {
        return QString::fromUtf8(kTitlePrefix.data(), kTitlePrefix.size()) + file;
    }

    testing::TestFolder folder;
    ScriptedMessageService messages;
    ScriptedFileChooser files;
    std::unique_ptr<MainWindow> window;
    qint64 now = 0;
};

// ---- start-up --------------------------------------------------------------

TEST_F(MainWindowTest, EmptyFolderCreatesBothFilesAndTellsOnceAfterASecond)
{
    Start();
    EXPECT_EQ(folder.readBytes("Veskar.cfg"), QByteArray(16, '\0'));
    EXPECT_EQ(folder.readBytes("Veskar.dat").size(), 3328);
    EXPECT_EQ(Title(), QStringLiteral(" Corvane Veskar Worker Monitor Programmer"));
    EXPECT_TRUE(window->document().workingFile.empty());

    PassTime(1000);
    EXPECT_TRUE(messages.boxes.empty());

    PassTime(1001);
    ASSERT_EQ(messages.boxes.size(), 2u);
    for (const Box& box : messages.boxes) {
        EXPECT_EQ(box.caption, kFileError);
        EXPECT_EQ(box.icon, MessageService::Icon::Exclamation);
    }
    EXPECT_EQ(messages.Texts(), (QStringList{" CANNOT OPEN VESKAR.CFG FILE - DEFAULT CREATED.",
                                             " CANNOT OPEN VESKAR.DAT FILE - DEFAULT CREATED."}));
    EXPECT_TRUE(window->document().DatabaseChanged);
    EXPECT_TRUE(window->isWindowModified());

    PassTime(5000);
    EXPECT_EQ(messages.boxes.size(), 2u);

    // No file is current yet: Save asks for one, as Save As does.
    files.Script(folder.path("site.dat"));
    window->CmFileSave();
    ASSERT_EQ(files.calls.size(), 1u);
    EXPECT_EQ(files.calls[0].kind, Kind::Save);
    EXPECT_EQ(Title(), Titled(folder.path("site.dat")));
    EXPECT_FALSE(window->document().DatabaseChanged);
    EXPECT_FALSE(window->isWindowModified());
    EXPECT_EQ(messages.boxes.size(), 2u);
}

TEST_F(MainWindowTest, OnlyDataFileKeepsItsConfigurationAfterThePortNotice)
{
    const Image stored = MarkedImage(42);
    folder.writeImage("Veskar.dat", stored);
    Start();
    PassTime(2000);

    EXPECT_EQ(messages.Texts(), QStringList{" CANNOT OPEN VESKAR.CFG FILE - DEFAULT CREATED."});
    EXPECT_EQ(window->document().image, stored);
    EXPECT_FALSE(window->document().DatabaseChanged);
    EXPECT_EQ(Title(), Titled("Veskar.dat"));
    EXPECT_EQ(folder.readBytes("Veskar.cfg"), QByteArray(16, '\0'));
}

TEST_F(MainWindowTest, OnlyPortFileReadsThePortAndCreatesTheData)
{
    QByteArray cfg(16, '\0');
    cfg[0] = 3;
    folder.writeBytes("Veskar.cfg", cfg);
    Start();
    PassTime(2000);

    EXPECT_EQ(window->cfg().portIndex(), 3);
    EXPECT_EQ(folder.readBytes("Veskar.cfg"), cfg);
    EXPECT_EQ(messages.Texts(), QStringList{" CANNOT OPEN VESKAR.DAT FILE - DEFAULT CREATED."});
    EXPECT_EQ(folder.readBytes("Veskar.dat").size(), 3328);
}

TEST_F(MainWindowTest, ShortDataFileIsReadAndRepaired)
{
    folder.writeBytes("Veskar.cfg", QByteArray(16, '\0'));
    const Image full = MarkedImage(9);
    const QByteArray bytes(reinterpret_cast<const char*>(full.bytes().data()), 2048 + 0x8D);
    folder.writeBytes("Veskar.dat", bytes);
    Start();
    PassTime(2000);

    EXPECT_TRUE(messages.boxes.empty());
    const Document& document = window->document();
    EXPECT_TRUE(std::equal(document.image.bytes().begin(), document.image.bytes().begin() + 2048,
                           full.bytes().begin()));
    EXPECT_EQ(document.image.gen.modbusAddress, 0); // past the end of the file
    EXPECT_EQ(document.image.gen.levelTxTone, 25);  // repaired from 0
    EXPECT_EQ(document.image.gen.levelPhoneRx, 25);
    EXPECT_FALSE(document.DatabaseChanged);
    EXPECT_EQ(Title(), Titled("Veskar.dat"));
}

// ---- Open ------------------------------------------------------------------

class StartedTest : public MainWindowTest {
  protected:
    void SetUp() override
    {
        folder.writeBytes("Veskar.cfg", QByteArray(16, '\0'));
        folder.writeImage("Veskar.dat", MarkedImage(1));
        Start();
        PassTime(2000);
        ASSERT_TRUE(messages.boxes.empty());
    }
};

TEST_F(StartedTest, OpenRefusedLeavesEverythingAsItWas)
{
    struct Case {
        const char* name;
        QByteArray content;
        const char* message;
    };
    const Image other = MarkedImage(77);
    const QByteArray image(reinterpret_cast<const char*>(other.bytes().data()), 3328);
    const Case cases[] = {
        {"notes.txt", image, " FILE NAME MUST HAVE .DAT EXTENSION "},
        {"short.dat", image.left(3000), " FILE IS NOT THE CORRECT SIZE "},
        {"long.dat", image + QByteArray(1, 'x'), " FILE IS NOT THE CORRECT SIZE "},
        {"missing.dat", QByteArray(), " CANNOT OPEN FILE "},
    };
    for (const Case& c : cases) {
        if (!c.content.isEmpty())
            folder.writeBytes(c.name, c.content);
        window->document().image.gen.modbusAddress = 5;
        window->document().DatabaseChanged = true;
        const Image before = window->document().image;
        messages.boxes.clear();
        messages.Script(Answer::No); // do not save first
        files.Script(folder.path(c.name));

        window->runCommand(static_cast<int>(CommandId::FileOpen));

        ASSERT_EQ(messages.boxes.size(), 2u) << c.name;
        EXPECT_EQ(messages.boxes[1].caption, kFileError);
        EXPECT_EQ(messages.boxes[1].text, QString::fromLatin1(c.message)) << c.name;
        EXPECT_EQ(window->document().image, before) << c.name;
        EXPECT_TRUE(window->document().DatabaseChanged) << c.name;
        EXPECT_EQ(window->document().workingFile, "Veskar.dat") << c.name;
        EXPECT_EQ(Title(), Titled("Veskar.dat")) << c.name;
    }
}

TEST_F(StartedTest, OpenAsksToSaveChangesFirst)
{
    struct Case {
        const char* name;
        Answer answer;
        std::optional<QString> saveAs;
        std::vector<Kind> dialogs;
        bool savedFileWritten;
    };
    const Case cases[] = {
        {"no", Answer::No, std::nullopt, {Kind::Open}, false},
        {"yes, save cancelled", Answer::Yes, std::nullopt, {Kind::Save, Kind::Open}, false},
        {"yes, saved", Answer::Yes, QStringLiteral("kept.dat"), {Kind::Save, Kind::Open}, true},
    };
    for (const Case& c : cases) {
        QFile::remove(folder.path("kept.dat"));
        window->document().DatabaseChanged = true;
        messages.boxes.clear();
        files.calls.clear();
        messages.Script(c.answer);
        if (c.answer == Answer::Yes)
            files.Script(c.saveAs ? std::optional<QString>(folder.path(*c.saveAs)) : std::nullopt);
        files.Script(std::nullopt); // the Open dialog is cancelled

        window->CmFileOpen();

        ASSERT_EQ(messages.boxes.size(), 1u) << c.name;
        EXPECT_EQ(messages.boxes[0].caption, QStringLiteral("Query"));
        EXPECT_EQ(messages.boxes[0].icon, MessageService::Icon::Question);
        EXPECT_EQ(messages.boxes[0].buttons, MessageService::Buttons::YesNo);
        EXPECT_EQ(messages.boxes[0].text, QStringLiteral("Do you want to save changed data?"));
        std::vector<Kind> kinds;
        for (const auto& call : files.calls)
            kinds.push_back(call.kind);
        EXPECT_EQ(kinds, c.dialogs) << c.name;
        EXPECT_EQ(QFile::exists(folder.path("kept.dat")), c.savedFileWritten) << c.name;
    }
}

TEST_F(StartedTest, OpenWithoutChangesDoesNotAskAndRenamesTheTitle)
{
    folder.writeImage("site.dat", MarkedImage(33));
    files.Script(folder.path("site.dat"));
    window->CmFileOpen();

    EXPECT_TRUE(messages.boxes.empty());
    ASSERT_EQ(files.calls.size(), 1u);
    EXPECT_EQ(files.calls[0].preset, QStringLiteral("Veskar.dat"));
    EXPECT_EQ(window->document().image.gen.modbusAddress, 33);
    EXPECT_EQ(Title(), Titled(folder.path("site.dat")));
}

TEST_F(StartedTest, OpeningARepairedFileSaysHowManyFieldsWereSetToDefaults)
{
    Image damaged = MarkedImage(33);
    damaged.gen.timesA = 0;
    damaged.gen.levelTxTone = 99;
    folder.writeImage("damaged.dat", damaged);
    folder.writeImage("sound.dat", MarkedImage(34));
    const struct {
        const char* file;
        QString status;
    } cases[] = {
        {"damaged.dat", QStringLiteral("The file was repaired: 2 fields were set to their defaults.")},
        {"sound.dat", QString()},
    };
    for (const auto& c : cases) {
        window->statusBar()->clearMessage();
        files.Script(folder.path(c.file));
        window->CmFileOpen();
        EXPECT_EQ(window->statusBar()->currentMessage(), c.status) << c.file;
    }
}

// ---- Save, Save As, Default Database ------------------------------------------

TEST_F(StartedTest, TitleFollowsSaveAsButNotSaveOrDefaultDatabase)
{
    window->document().image.gen.modbusAddress = 12;
    window->document().DatabaseChanged = true;
    window->CmFileSave();
    EXPECT_EQ(Title(), Titled("Veskar.dat"));
    EXPECT_FALSE(window->document().DatabaseChanged);

    files.Script(folder.path("copy.dat"));
    EXPECT_TRUE(window->CmFileSaveAs());
    EXPECT_EQ(Title(), Titled(folder.path("copy.dat")));
    EXPECT_EQ(files.calls.back().preset, QStringLiteral("Veskar.dat"));

    messages.Script(Answer::No);
    window->CmDefaultData();
    EXPECT_EQ(window->document().image.gen.modbusAddress, 12);
    EXPECT_FALSE(window->document().DatabaseChanged);

    messages.Script(Answer::Yes);
    window->CmDefaultData();
    EXPECT_EQ(messages.boxes.back().text, QStringLiteral("All data will be erased - Continue?"));
    EXPECT_EQ(messages.boxes.back().caption, QStringLiteral("Query"));
    EXPECT_EQ(messages.boxes.back().buttons, MessageService::Buttons::YesNoSafe); // Enter must not erase
    Image defaults{};
    CreateDatabase(defaults);
    EXPECT_EQ(window->document().image, defaults);
    EXPECT_TRUE(window->document().DatabaseChanged);
    EXPECT_EQ(Title(), Titled(folder.path("copy.dat")));
    EXPECT_EQ(messages.unscripted, 0);
}

TEST_F(StartedTest, SaveFailureIsReportedAndKeepsTheChangedMark)
{
    struct Case {
        std::string workingFile;
        const char* message;
    };
    const Case cases[] = {
        {"site.txt", " FILE NAME MUST HAVE .DAT EXTENSION "},
        {"no-such-folder/site.dat", " CANNOT OPEN FILE "},
    };
    for (const Case& c : cases) {
        window->document().workingFile = c.workingFile;
        window->document().DatabaseChanged = true;
        messages.boxes.clear();
        window->CmFileSave();
        ASSERT_EQ(messages.boxes.size(), 1u);
        EXPECT_EQ(messages.boxes[0].caption, kFileError);
        EXPECT_EQ(messages.boxes[0].text, QString::fromLatin1(c.message));
        EXPECT_TRUE(window->document().DatabaseChanged);
    }
}

// ---- Exit --------------------------------------------------------------------

TEST_F(StartedTest, ExitAsksAboutUnsavedChanges)
{
    struct Case {
        const char* name;
        Answer answer;
        std::optional<QString> saveAs;
        bool closes;
    };
    const Case cases[] = {
        {"no", Answer::No, std::nullopt, true},
        {"cancel", Answer::Cancel, std::nullopt, false},
        {"yes, saved", Answer::Yes, QStringLiteral("final.dat"), true},
        // Nothing written: the window stays so the changes are not lost.
        {"yes, save cancelled", Answer::Yes, std::nullopt, false},
    };
    for (const Case& c : cases) {
        Start();
        window->document().image.gen.modbusAddress = 99;
        window->document().DatabaseChanged = true;
        messages.boxes.clear();
        messages.Script(c.answer);
        if (c.answer == Answer::Yes)
            files.Script(c.saveAs ? std::optional<QString>(folder.path(*c.saveAs)) : std::nullopt);

        EXPECT_EQ(window->close(), c.closes) << c.name;

        ASSERT_EQ(messages.boxes.size(), 1u) << c.name;
        EXPECT_EQ(messages.boxes[0].text,
                  QStringLiteral("Do you want to save changed data before closing application?"));
        EXPECT_EQ(messages.boxes[0].buttons, MessageService::Buttons::YesNoCancel);
        if (c.saveAs) {
            const Image saved = window->document().image;
            EXPECT_EQ(folder.readBytes(*c.saveAs),
                      QByteArray(reinterpret_cast<const char*>(saved.bytes().data()), 3328));
        }
    }
    EXPECT_TRUE(messages.AllAnswersUsed());
}

TEST_F(StartedTest, ExitWithoutChangesDoesNotAsk)
{
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(messages.boxes.empty());
}

// ---- recent files ------------------------------------------------------------

TEST_F(MainWindowTest, RecentFilesLastAcrossRunsAndKeepOtherSettings)
{
    {
        QSettings ini(folder.path("CorvaneVeskar.ini"), QSettings::IniFormat);
        ini.setValue("Ports/Last", "COM2");
    }
    folder.writeImage("a.dat", MarkedImage(1));
    Start();
    PassTime(2000);
    files.Script(folder.path("a.dat"));
    window->CmFileOpen();
    files.Script(folder.path("R&D.dat")); // '&' must not turn into a mnemonic
    ASSERT_TRUE(window->CmFileSaveAs());
    const QStringList expected = {folder.path("R&D.dat"), folder.path("a.dat")};
    EXPECT_EQ(window->recentFiles(), expected);

    window.reset();
    Start();
    EXPECT_EQ(window->recentFiles(), expected);
    QStringList menuTexts;
    for (QAction* action : window->recentActions())
        if (!action->isSeparator())
            menuTexts << action->iconText(); // as shown, mnemonics resolved
    EXPECT_EQ(menuTexts, (QStringList{"1 " + expected[0], "2 " + expected[1]}));
    EXPECT_TRUE(window->fileMenu()->actions().contains(window->recentActions().first()));

    QSettings ini(folder.path("CorvaneVeskar.ini"), QSettings::IniFormat);
    EXPECT_EQ(ini.value("Ports/Last").toString(), QStringLiteral("COM2"));
    EXPECT_EQ(ini.value("RecentFiles/File1").toString(), expected[0]);
}

TEST_F(StartedTest, RecentFileOpensAndAGoneOneIsRemovedWithAMessage)
{
    folder.writeImage("a.dat", MarkedImage(21));
    folder.writeImage("b.dat", MarkedImage(22));
    for (const char* name : {"a.dat", "b.dat"}) {
        files.Script(folder.path(name));
        window->CmFileOpen();
    }
    window->openRecent(folder.path("a.dat"));
    EXPECT_EQ(window->document().image.gen.modbusAddress, 21);
    EXPECT_EQ(window->recentFiles().first(), folder.path("a.dat"));

    QFile::remove(folder.path("b.dat"));
    window->openRecent(folder.path("b.dat"));
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].caption, kFileError);
    EXPECT_TRUE(messages.boxes[0].text.contains(folder.path("b.dat")));
    EXPECT_EQ(window->recentFiles(), QStringList{folder.path("a.dat")});
    EXPECT_EQ(window->document().image.gen.modbusAddress, 21);
    QSettings ini(folder.path("CorvaneVeskar.ini"), QSettings::IniFormat);
    EXPECT_FALSE(ini.contains("RecentFiles/File2"));
}

// ---- menus and hints ------------------------------------------------------------

TEST_F(StartedTest, HighlightedMenuItemShowsItsHintInTheStatusBar)
{
    window->show();
    const struct {
        CommandId id;
        const char* menuText;
        const char* hint;
    } cases[] = {
        {CommandId::FileOpen, "&Open...", "Opens an existing document"},
        {CommandId::FileSave, "&Save", "Saves the active document"},
        {CommandId::FileSaveAs, "Save &As...", "Saves the active document with a new name"},
        {CommandId::Exit, "E&xit", ""},
        {CommandId::DefaultData, "&Default Database", ""},
    };
    QMenu* file = window->fileMenu();
    file->popup(window->mapToGlobal(QPoint(0, 0)));
    for (const auto& c : cases) {
        QAction* item = window->action(c.id);
        EXPECT_EQ(item->text(), QString::fromLatin1(c.menuText));
        window->statusBar()->showMessage(QStringLiteral("stale"));
        file->setActiveAction(item);
        EXPECT_EQ(window->statusBar()->currentMessage(), QString::fromLatin1(c.hint)) << c.menuText;
    }
    EXPECT_EQ(window->action(CommandId::Exit)->shortcut(), QKeySequence(QStringLiteral("Alt+F4")));
    EXPECT_EQ(window->action(CommandId::FileSaveAs)->toolTip(), QStringLiteral("Save As"));
    file->hide();

    // Commands straight on the menu bar carry their hints too.
    QStringList barTexts;
    for (QAction* twin : window->menuBarTwins()) {
        barTexts << twin->text();
        EXPECT_FALSE(twin->statusTip().isEmpty()) << twin->text().toStdString();
    }
    EXPECT_EQ(barTexts, (QStringList{"Summar&y", "&Users", "&System", "&Levels", "Progra&m"}));
}

// ---- command flags -------------------------------------------------------------

TEST_F(StartedTest, FlagsGreyAndRestoreMenuItemsAndButtons)
{
    auto enabled = [this](CommandId id) { return window->action(id)->isEnabled(); };
    for (CommandId id : {CommandId::FileOpen, CommandId::FileSave, CommandId::FileSaveAs, CommandId::Levels,
                         CommandId::DefaultData, CommandId::Summary, CommandId::Users, CommandId::System,
                         CommandId::DirA, CommandId::CopyDir, CommandId::Program, CommandId::Exit,
                         CommandId::HelpAbout})
        EXPECT_TRUE(enabled(id)) << static_cast<int>(id);

    files.Script(folder.path("x.dat"));
    ASSERT_TRUE(window->CmFileSaveAs());
    const int holder = 0;
    window->flags().hold(&holder, {&CommandFlags::fileon, &CommandFlags::levelon, &CommandFlags::defaulton});
    for (CommandId id : {CommandId::FileOpen, CommandId::FileSave, CommandId::FileSaveAs, CommandId::Levels,
                         CommandId::DefaultData, CommandId::Summary})
        EXPECT_FALSE(enabled(id)) << static_cast<int>(id);
    EXPECT_TRUE(enabled(CommandId::Exit));
    EXPECT_FALSE(window->recentActions().first()->isEnabled());
    bool levelsTwinEnabled = true;
    for (QAction* twin : window->menuBarTwins())
        if (twin->data().toInt() == static_cast<int>(CommandId::Levels))
            levelsTwinEnabled = twin->isEnabled();
    EXPECT_FALSE(levelsTwinEnabled);

    // A greyed command does not run even when asked for directly.
    files.calls.clear();
    window->runCommand(static_cast<int>(CommandId::FileOpen));
    EXPECT_TRUE(files.calls.empty());

    window->flags().release(&holder);
    for (CommandId id : {CommandId::FileOpen, CommandId::Levels, CommandId::DefaultData})
        EXPECT_TRUE(enabled(id)) << static_cast<int>(id);
    EXPECT_TRUE(window->recentActions().first()->isEnabled());
}

// ---- modeless editor windows ------------------------------------------------------

class TestEditor : public EditorWindow {
  public:
    TestEditor(MainWindow& main, bool* allowClose)
        : EditorWindow(main, {&CommandFlags::levelon, &CommandFlags::fileon}), m_allowClose(allowClose)
    {
    }

  protected:
    bool CanClose() override { return *m_allowClose; }

  private:
    bool* m_allowClose;
};

TEST_F(StartedTest, EditorWindowGreysCommandsWhileOpen)
{
    bool allowClose = false;
    QPointer<TestEditor> editor = new TestEditor(*window, &allowClose);
    editor->show();
    EXPECT_FALSE(window->action(CommandId::Levels)->isEnabled());
    EXPECT_FALSE(window->action(CommandId::FileSave)->isEnabled());
    EXPECT_TRUE(window->action(CommandId::DefaultData)->isEnabled());

    // A refused close keeps the editor, its flags, and so the main window too.
    EXPECT_FALSE(editor->close());
    EXPECT_FALSE(window->action(CommandId::Levels)->isEnabled());
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(editor->isVisible());

    allowClose = true;
    EXPECT_TRUE(window->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(editor.isNull());
    EXPECT_TRUE(window->action(CommandId::Levels)->isEnabled());
    EXPECT_TRUE(window->action(CommandId::FileSave)->isEnabled());
}

// ---- levels through the main window -------------------------------------------

TEST_F(StartedTest, LevelsCommandEditsTheDocument)
{
    window->setDialogRunner([](QDialog& dialog) {
        auto& levels = dynamic_cast<SetptDialog&>(dialog);
        levels.slider(1)->setValue(18);
        levels.accept();
        return levels.result();
    });
    window->runCommand(static_cast<int>(CommandId::Levels));
    EXPECT_EQ(window->document().image.gen.levelTxVoice, 24);
    EXPECT_TRUE(window->document().DatabaseChanged);
}

} // namespace
} // namespace veskar
