#include "users/UserDialog.h"
#include "users/UserWin.h"

#include "../app/QtPrint.h"
#include "../app/TestFolder.h"
#include "app/MainWindow.h"
#include "database/Codes.h"
#include "widgets/FileChooser.h"
#include "widgets/MessageService.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPointer>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace veskar {
namespace {

using Box = ScriptedMessageService::Box;

class UserWinTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        Image image;
        CreateDatabase(image);
        image.User[1].startCode = CodeFromText("1D23");
        image.User[1].speakTimerNumber = 1;
        image.User[1].reserved40.fill(9);
        folder.writeBytes("Veskar.cfg", QByteArray(16, '\0'));
        folder.writeImage("Veskar.dat", image);
        main = std::make_unique<MainWindow>(messages, files);
        main->setClock([] { return 0; });
        main->InitFile();
        main->setDialogRunner([this](QDialog& dialog) {
            ++formsRun;
            auto& form = dynamic_cast<UserDialog&>(dialog);
            if (fillForm)
                fillForm(form);
            return form.result();
        });
        stored = main->document().image;
        user = new UserWin(*main);
        user->show();
    }
    void TearDown() override
    {
        if (user)
            delete user;
        main.reset();
    }

    bool Enabled(CommandId id) const { return main->action(id)->isEnabled(); }
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(user->table(), static_cast<Qt::Key>(key), modifiers);
    }

    testing::TestFolder folder;
    ScriptedMessageService messages;
    ScriptedFileChooser files;
    std::unique_ptr<MainWindow> main;
    QPointer<UserWin> user;
    Image stored;
    int formsRun = 0;
    std::function<void(UserDialog&)> fillForm;
};

TEST_F(UserWinTest, OpenAndCloseAtOnceAsksNothingAndRestoresCommands)
{
    for (CommandId id : {CommandId::Users, CommandId::System, CommandId::FileOpen, CommandId::FileSave,
                         CommandId::Program, CommandId::DefaultData})
        EXPECT_FALSE(Enabled(id)) << static_cast<int>(id);
    EXPECT_TRUE(Enabled(CommandId::Levels));
    EXPECT_EQ(user->users()[1].code(UserCode::Start), "1D23");

    user->CmWinCancel();
    EXPECT_TRUE(messages.boxes.empty());
    EXPECT_FALSE(user->isVisible());
    EXPECT_FALSE(main->document().DatabaseChanged);
    EXPECT_TRUE(Enabled(CommandId::Users));
    EXPECT_TRUE(Enabled(CommandId::FileOpen));
}

TEST_F(UserWinTest, KeysAndMouseMoveTheSelection)
{
    struct Step {
        int key;
        Qt::KeyboardModifiers modifiers;
        int row;
    };
    const Step steps[] = {
        {Qt::Key_Up, Qt::NoModifier, 0},        {Qt::Key_Down, Qt::NoModifier, 1},
        {Qt::Key_Plus, Qt::KeypadModifier, 2},  {Qt::Key_Plus, Qt::NoModifier, 2},
        {Qt::Key_Minus, Qt::KeypadModifier, 1}, {Qt::Key_Minus, Qt::NoModifier, 1},
    };
    for (const Step& step : steps) {
        Key(step.key, step.modifiers);
        EXPECT_EQ(user->selectedRow(), step.row) << step.key;
    }
    for (int i = 0; i < 20; ++i)
        Key(Qt::Key_Down);
    EXPECT_EQ(user->selectedRow(), 15);

    const int line = user->table()->fontMetrics().height();
    QTest::mouseClick(user->table(), Qt::LeftButton, Qt::NoModifier, QPoint(40, 5 * line + line / 2));
    EXPECT_EQ(user->selectedRow(), 3);
    QTest::mouseClick(user->table(), Qt::LeftButton, Qt::NoModifier, QPoint(40, line / 2));
    EXPECT_EQ(user->selectedRow(), 3);
    EXPECT_EQ(formsRun, 0);

    Key(Qt::Key_Return);
    EXPECT_EQ(formsRun, 1);
    QTest::mouseDClick(user->table(), Qt::LeftButton, Qt::NoModifier, QPoint(40, 3 * line + line / 2));
    EXPECT_EQ(formsRun, 2);
    EXPECT_EQ(user->selectedRow(), 1);
    QTest::mouseDClick(user->table(), Qt::LeftButton, Qt::NoModifier, QPoint(40, line / 2)); // the title
    EXPECT_EQ(formsRun, 3);
    EXPECT_EQ(user->selectedRow(), 1);
}

TEST_F(UserWinTest, AnEditIsKeptOnlyByExitAndSave)
{
    user->selectRow(1);
    fillForm = [](UserDialog& form) {
        EXPECT_EQ(form.windowTitle(), QStringLiteral("ID 2"));
        form.field(UserField::StartCode)->setText(QStringLiteral("1d"));
        form.field(UserField::UserName)->setText(QStringLiteral("Night shift"));
        form.accept();
    };
    user->EditLine();
    EXPECT_EQ(user->users()[1].code(UserCode::Start), "1D");
    EXPECT_FALSE(main->document().DatabaseChanged);
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].text, QStringLiteral("There is a Start Code but no Stop Code."));
    messages.boxes.clear();

    messages.ScriptDiscard(false);
    user->CmWinCancel();
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].text, QStringLiteral("All changes made to the users will be lost."));
    EXPECT_TRUE(user->isVisible());
    EXPECT_EQ(user->users()[1].code(UserCode::Start), "1D");

    user->CmWinExit();
    EXPECT_FALSE(user->isVisible());
    const UserRecord& saved = main->document().image.User[1];
    EXPECT_EQ(CodeToText(saved.startCode), "1D");
    EXPECT_EQ(NameToText(saved.userName), "Night shift");
    EXPECT_EQ(saved.speakTimerNumber, 1);
    for (Byte b : saved.reserved40)
        EXPECT_EQ(b, 0);
    EXPECT_TRUE(main->document().DatabaseChanged);
}

TEST_F(UserWinTest, CancelledFormAndUnchangedSaveLeaveTheConfigurationUnmarked)
{
    fillForm = [this](UserDialog& form) {
        form.field(UserField::StopCode)->setText(QStringLiteral("55"));
        messages.ScriptDiscard(true);
        form.reject();
    };
    user->EditLine();
    user->CmWinExit();
    EXPECT_FALSE(main->document().DatabaseChanged);
    EXPECT_EQ(messages.boxes.size(), 1u);
    // Saving clears the reserved bytes but changes nothing the unit sees.
    stored.User[1].reserved40.fill(0);
    EXPECT_EQ(main->document().image, stored);
}

// The form shown as for real: whatever it ends with, the keys go to the table again.
TEST_F(UserWinTest, TheTableHasTheKeysAgainAfterEveryAnswer)
{
    main->setDialogRunner([this](QDialog& dialog) {
        dialog.show();
        fillForm(dynamic_cast<UserDialog&>(dialog));
        return dialog.result();
    });
    const std::function<void(UserDialog&)> answers[] = {
        [](UserDialog& form) { form.accept(); },
        [this](UserDialog& form) {
            form.field(UserField::StopCode)->setText(QStringLiteral("55"));
            messages.ScriptDiscard(true);
            form.reject();
        },
    };
    for (const auto& answer : answers) {
        fillForm = answer;
        user->EditLine();
        EXPECT_TRUE(QTest::qWaitForWindowActive(user.data()));
        EXPECT_EQ(QApplication::focusWidget(), user->table());
    }
}

TEST_F(UserWinTest, ADirectoryWindowKeepsFileAndProgramGreyed)
{
    const int directoryWindow = 0;
    main->flags().hold(&directoryWindow, {&CommandFlags::dirAon, &CommandFlags::fileon, &CommandFlags::pgmon,
                                          &CommandFlags::defaulton});
    user->CmWinExit();
    EXPECT_TRUE(Enabled(CommandId::Users));
    EXPECT_FALSE(Enabled(CommandId::FileOpen));
    EXPECT_FALSE(Enabled(CommandId::Program));
    main->flags().release(&directoryWindow);
    EXPECT_TRUE(Enabled(CommandId::FileOpen));
}

TEST_F(UserWinTest, UsersCommandOpensOneWindowAndSaveWritesItsEdits)
{
    user->CmWinCancel();
    main->runCommand(static_cast<int>(CommandId::Users));
    main->runCommand(static_cast<int>(CommandId::Users));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const QList<UserWin*> open = main->findChildren<UserWin*>();
    ASSERT_EQ(open.size(), 1);

    fillForm = [](UserDialog& form) {
        form.field(UserField::EmergencyCode)->setText(QStringLiteral("*9#"));
        form.accept();
    };
    open.front()->EditLine();
    open.front()->CmWinExit();
    files.Script(folder.path("site.dat"));
    ASSERT_TRUE(main->CmFileSaveAs());
    Image saved;
    ASSERT_EQ(ReadImageFile(folder.path("site.dat").toStdString(), saved, SizeRule::Exact), FileError::None);
    EXPECT_EQ(CodeToText(saved.User[0].emergencyCode), "*9#");
}

// ---- the user settings form on its own ---------------------------------------------

class UserDialogTest : public ::testing::Test {
  protected:
    UserDialogTest()
    {
        Image image;
        CreateDatabase(image);
        for (std::size_t i = 0; i < kUserCount; ++i)
            users[i] = LoadUserData(image.User[i]);
        users[4].code(UserCode::Interrogate) = "4321";
        users[2].record.speakTimerNumber = 1;
        users[2].record.useDtmfName = 0;
        users[2].record.useVoiceName = 0;
        users[2].record.useDtmfLocation = 1;
        users[2].record.useVoiceLocation = 0;
        gen = image.gen;
    }

    QCheckBox* Box(Byte UserRecord::*field) const
    {
        for (std::size_t i = 0; i < kUserOptions.size(); ++i)
            if (kUserOptions[i].field == field)
                return dialog->option(i);
        return nullptr;
    }
    void Open()
    {
        dialog = std::make_unique<UserDialog>(nullptr, messages, users[2], 2, users, gen);
        dialog->show();
    }

    ScriptedMessageService messages;
    std::array<UserData, kUserCount> users;
    SystemBlock gen{};
    std::unique_ptr<UserDialog> dialog;
};

TEST_F(UserDialogTest, RefusalKeepsTheFormWithTheFieldSelected)
{
    Open();
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("ID 3"));
    const UserData before = users[2];
    dialog->field(UserField::StartCode)->setText(QStringLiteral("7"));
    dialog->field(UserField::StopCode)->setText(QStringLiteral("4321"));
    dialog->field(UserField::WarningInterval)->setFocus();
    dialog->accept();
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].caption, QStringLiteral("Warning"));
    EXPECT_EQ(messages.boxes[0].icon, MessageService::Icon::Exclamation);
    EXPECT_TRUE(messages.boxes[0].text.startsWith(
        QStringLiteral("The Stop Code is the same as the Interrogate Code for User 5.")));
    EXPECT_TRUE(dialog->isVisible());
    QLineEdit* stop = dialog->field(UserField::StopCode);
    EXPECT_EQ(dialog->focusWidget(), stop);
    EXPECT_EQ(stop->selectedText(), QStringLiteral("4321"));
    EXPECT_EQ(users[2].codes, before.codes);

    // The non-blocking notice comes first, then the form closes.
    dialog->field(UserField::StopCode)->clear();
    messages.boxes.clear();
    dialog->accept();
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].text, QStringLiteral("There is a Start Code but no Stop Code."));
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(users[2].code(UserCode::Start), "7");
    EXPECT_EQ(users[2].record.speakTimerNumber, 1);
}

TEST_F(UserDialogTest, AskBoxesTickTheVoiceBoxUnlessACodeIsUsed)
{
    Open();
    EXPECT_FALSE(Box(&UserRecord::speakTimerNumber)->isVisible());
    QCheckBox* askName = Box(&UserRecord::askName);
    askName->setChecked(false);
    askName->click();
    EXPECT_TRUE(Box(&UserRecord::useVoiceName)->isChecked());
    askName->click();
    EXPECT_TRUE(Box(&UserRecord::useVoiceName)->isChecked());

    QCheckBox* askLocation = Box(&UserRecord::askLocation);
    askLocation->setChecked(false);
    askLocation->click();
    EXPECT_FALSE(Box(&UserRecord::useVoiceLocation)->isChecked());
}

TEST_F(UserDialogTest, CancelAsksOnlyAfterAChange)
{
    Open();
    dialog->reject();
    EXPECT_TRUE(messages.boxes.empty());
    EXPECT_FALSE(dialog->isVisible());

    Open();
    dialog->field(UserField::UserName)->setText(QStringLiteral("Somebody"));
    messages.ScriptDiscard(false);
    dialog->reject();
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].text, QStringLiteral("All changes made to  User settings will be lost."));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->field(UserField::UserName)->text(), QStringLiteral("Somebody"));
}

} // namespace
} // namespace veskar
