#include "system/GeneralDialog.h"
#include "system/ModbusDialog.h"

#include "../app/QtPrint.h"
#include "../app/TestFolder.h"
#include "app/HelpMode.h"
#include "app/HelpWindow.h"
#include "app/MainWindow.h"
#include "database/Codes.h"
#include "database/Defaults.h"
#include "database/Document.h"
#include "system/SystemWhatsThis.h"
#include "widgets/FileChooser.h"
#include "widgets/MessageService.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QWhatsThis>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>

namespace veskar {
namespace {

using Icon = MessageService::Icon;

class GeneralDialogTest : public ::testing::Test {
  protected:
    GeneralDialogTest()
    {
        CreateDatabase(document.image);
        document.DatabaseChanged = false;
    }

    // A fresh form on the document; the nested Modbus form is handed to `modbus`.
    std::unique_ptr<GeneralDialog> Open()
    {
        auto form = std::make_unique<GeneralDialog>(nullptr, document, messages, [this](QDialog& nested) {
            ++nestedRuns;
            auto& dialog = dynamic_cast<ModbusDialog&>(nested);
            dialog.open();
            if (modbus)
                modbus(dialog);
            return dialog.result();
        });
        form->show();
        QApplication::setActiveWindow(form.get());
        return form;
    }

    template <typename Widget> Widget* Control(GeneralDialog& form, int id)
    {
        auto* widget = qobject_cast<Widget*>(form.control(id));
        EXPECT_NE(widget, nullptr) << id;
        return widget;
    }

    Document document;
    ScriptedMessageService messages;
    std::function<void(ModbusDialog&)> modbus;
    int nestedRuns = 0;
};

TEST_F(GeneralDialogTest, OpensOnTheStoredSettings)
{
    document.image.gen.accessCode = CodeFromText("1D23");
    document.image.gen.ringsBeforeAnswer = 12;
    document.image.gen.timesA = 8;
    document.image.gen.squelchHigh = 1;
    auto form = Open();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("SYSTEM SETTINGS"));
    EXPECT_EQ(form->field(SystemField::SiteName)->text(), QStringLiteral("RidIvav Alarm"));
    EXPECT_EQ(form->field(SystemField::Access)->text(), QStringLiteral("1D23"));
    EXPECT_EQ(form->field(SystemField::DefaultTimer)->text(), QStringLiteral("20"));
    EXPECT_EQ(Control<QComboBox>(*form, 303)->currentText(), QStringLiteral("Auto Ack"));
    EXPECT_EQ(Control<QComboBox>(*form, 303)->count(), 10);
    EXPECT_EQ(Control<QComboBox>(*form, 301)->currentText(), QStringLiteral("8"));
    EXPECT_TRUE(Control<QRadioButton>(*form, 208)->isChecked());
    EXPECT_FALSE(Control<QRadioButton>(*form, 207)->isChecked());
    EXPECT_TRUE(Control<QRadioButton>(*form, 205)->isChecked());
    EXPECT_TRUE(Control<QCheckBox>(*form, 312)->isChecked());

    form->reject();
    EXPECT_TRUE(messages.boxes.empty());
    EXPECT_FALSE(form->isVisible());
}

TEST_F(GeneralDialogTest, SiteNameTypingStopsAtSixteen)
{
    auto form = Open();
    QLineEdit* site = form->field(SystemField::SiteName);
    site->clear();
    QTest::keyClicks(site, QStringLiteral("ABCDEFGHIJKLMNOPQRS"));
    EXPECT_EQ(site->text(), QStringLiteral("ABCDEFGHIJKLMNOP"));
}

TEST_F(GeneralDialogTest, ARefusalFocusesItsFieldAndStoresNothing)
{
    struct Case {
        SystemField field;
        const char* typed;
        const char* text;
    };
    const Case cases[] = {
        {SystemField::Access, "12!", "The Access Code must consist of valid DTMF digits: 0-9, A-D, * or #."},
        {SystemField::Acknowledge, "123456789", "The Acknowledge Code cannot be greater than 8 characters."},
        {SystemField::TimerA, "250", "Timer A cannot be greater than 249."},
        {SystemField::TimerB, "-1", "Timer B cannot be less than 0."},
        {SystemField::DefaultTimer, "4096", "The Default Timer cannot be more than 4095."},
    };
    const Image before = document.image;
    for (const Case& c : cases) {
        messages.boxes.clear();
        auto form = Open();
        Control<QCheckBox>(*form, 311)->setChecked(false);
        form->field(c.field)->setText(QString::fromLatin1(c.typed));
        form->accept();
        ASSERT_EQ(messages.boxes.size(), 1u) << c.typed;
        EXPECT_EQ(messages.boxes[0].caption, QStringLiteral("Error"));
        EXPECT_EQ(messages.boxes[0].icon, Icon::Stop);
        EXPECT_EQ(messages.boxes[0].text, QString::fromLatin1(c.text));
        EXPECT_TRUE(form->isVisible());
        EXPECT_EQ(form->focusWidget(), form->field(c.field)) << c.typed;
        EXPECT_EQ(form->field(c.field)->selectedText(), QString::fromLatin1(c.typed));
        EXPECT_TRUE(document.image == before) << c.typed;
        EXPECT_FALSE(document.DatabaseChanged);
    }
}

TEST_F(GeneralDialogTest, OkStoresTheFormAndMarksTheDocument)
{
    auto form = Open();
    form->field(SystemField::Access)->setText(QStringLiteral("1d23"));
    form->field(SystemField::DefaultTimer)->setText(QStringLiteral("4095"));
    Control<QComboBox>(*form, 303)->setCurrentIndex(0);
    Control<QRadioButton>(*form, 206)->setChecked(true);
    form->accept();
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(messages.boxes.empty());
    const SystemBlock& gen = document.image.gen;
    EXPECT_EQ(CodeToText(gen.accessCode), "1D23");
    EXPECT_EQ(gen.defaultTimer[0], 0xFF);
    EXPECT_EQ(gen.defaultTimer[1], 0xF0);
    EXPECT_EQ(gen.ringsBeforeAnswer, 0);
    EXPECT_EQ(gen.pulseDial, 1);
    EXPECT_EQ(gen.reserved89, 0);
    EXPECT_TRUE(document.DatabaseChanged);
}

TEST_F(GeneralDialogTest, OkWithoutAChangeLeavesTheDocumentUnmarked)
{
    auto form = Open();
    form->accept();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(document.image.gen.reserved89, 0);
    EXPECT_FALSE(document.DatabaseChanged);
}

TEST_F(GeneralDialogTest, UnlistedValuesShowNoSelectionAndAreKept)
{
    document.image.gen.timesA = 9;
    document.image.gen.ringsBeforeAnswer = 11;
    auto form = Open();
    EXPECT_EQ(Control<QComboBox>(*form, 301)->currentIndex(), -1);
    EXPECT_EQ(Control<QComboBox>(*form, 303)->currentIndex(), -1);
    form->field(SystemField::TimerA)->setText(QStringLiteral("5"));
    form->accept();
    EXPECT_EQ(document.image.gen.timesA, 9);
    EXPECT_EQ(document.image.gen.ringsBeforeAnswer, 11);
    EXPECT_EQ(document.image.gen.timerA.value, 5);
}

TEST_F(GeneralDialogTest, ClashesWarnAfterStoringWithTheFocusOnTheSystemCode)
{
    document.image.User[2].stopCode = CodeFromText("77");
    document.image.User[4].startCode = CodeFromText("77");
    auto form = Open();
    form->field(SystemField::Access)->setText(QStringLiteral("77"));
    form->accept();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(CodeToText(document.image.gen.accessCode), "77");
    EXPECT_TRUE(document.DatabaseChanged);
    ASSERT_EQ(messages.boxes.size(), 2u);
    EXPECT_EQ(messages.boxes[0].caption, QStringLiteral("Warning"));
    EXPECT_EQ(messages.boxes[0].icon, Icon::Exclamation);
    EXPECT_EQ(messages.boxes[0].text,
              QStringLiteral("The Access Code is the same as the Stop Code for User 3.\n "
                             "Change the Access Code or the Stop Code for User 3."));
    EXPECT_TRUE(messages.boxes[1].text.endsWith(QStringLiteral("Start Code for User 5.")));
    EXPECT_EQ(form->focusWidget(), form->field(SystemField::Access));
}

TEST_F(GeneralDialogTest, TickingCallProgressAdvisesOnAnswerAfterDial)
{
    const char lineA[] = "P12M&";
    const char lineC[] = "RP3M&";
    std::memcpy(document.image.dir[0].data(), lineA, sizeof lineA - 1);
    std::memcpy(document.image.dir[2].data(), lineC, sizeof lineC - 1);
    document.image.gen.useCallProgress = 0;
    auto form = Open();
    auto* progress = Control<QCheckBox>(*form, 312);

    QTest::mouseClick(progress, Qt::LeftButton, {}, QPoint(5, progress->height() / 2));
    EXPECT_TRUE(progress->isChecked());
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].caption, QStringLiteral("Warning"));
    EXPECT_EQ(
        messages.boxes[0].text,
        QStringLiteral("The ANSWER command appears immediately after a Dial command in Directories A and C."
                       "\nUsing Call Progress and ANSWER duplicates the requirement for a response by the "
                       "called party.\nUse the What's This help for Call Progress to get a full "
                       "explanation."));

    QTest::mouseClick(progress, Qt::LeftButton, {}, QPoint(5, progress->height() / 2));
    EXPECT_FALSE(progress->isChecked());
    EXPECT_EQ(messages.boxes.size(), 1u); // clearing it says nothing
    EXPECT_TRUE(document.image.gen.useCallProgress == 0);
    EXPECT_FALSE(Control<QCheckBox>(*form, 312)->whatsThis().isEmpty());
}

TEST_F(GeneralDialogTest, ModbusEditsReachTheBlockOnlyWithThisFormsOk)
{
    modbus = [](ModbusDialog& dialog) {
        dialog.address()->setText(QStringLiteral("42"));
        dialog.baudRate()->setCurrentIndex(0);
        dialog.accept();
    };
    auto form = Open();
    qobject_cast<QPushButton*>(form->control(701))->click();
    EXPECT_EQ(nestedRuns, 1);
    EXPECT_EQ(form->mbus(), (Modbusdata{42, 0}));
    EXPECT_EQ(document.image.gen.modbusAddress, 100);

    // Cancel asks; No keeps the form, Yes drops the Modbus edits.
    messages.ScriptDiscard(false);
    form->reject();
    EXPECT_TRUE(form->isVisible());
    messages.ScriptDiscard(true);
    form->reject();
    EXPECT_FALSE(form->isVisible());
    ASSERT_EQ(messages.boxes.size(), 2u);
    EXPECT_EQ(messages.boxes[0].text, QStringLiteral("All changes made to  System will be lost."));
    EXPECT_EQ(document.image.gen.modbusAddress, 100);
    EXPECT_FALSE(document.DatabaseChanged);

    auto again = Open();
    EXPECT_EQ(again->mbus(), (Modbusdata{100, 5}));
    qobject_cast<QPushButton*>(again->control(701))->click();
    again->accept();
    EXPECT_EQ(document.image.gen.modbusAddress, 42);
    EXPECT_EQ(document.image.gen.modbusBaud, 0);
    EXPECT_TRUE(document.DatabaseChanged);
}

TEST_F(GeneralDialogTest, EveryControlHasWhatsThisHelp)
{
    auto form = Open();
    EXPECT_TRUE(form->windowFlags() & Qt::WindowContextHelpButtonHint);
    for (const WhatsThisText& help : kSystemWhatsThis) {
        ASSERT_NE(form->control(help.id), nullptr) << help.id;
        EXPECT_FALSE(form->control(help.id)->whatsThis().isEmpty()) << help.id;
    }
    for (QWidget* widget : form->findChildren<QWidget*>()) {
        const bool control = qobject_cast<QLineEdit*>(widget) || qobject_cast<QComboBox*>(widget) ||
                             qobject_cast<QAbstractButton*>(widget);
        const bool okOrCancel = qobject_cast<QPushButton*>(widget) && widget->objectName().isEmpty();
        if (control && !okOrCancel) {
            EXPECT_FALSE(widget->whatsThis().isEmpty()) << widget->objectName().toStdString();
        }
    }
}

// Shift+F1, then a click on a control: its What's This text, not a help page.
TEST_F(GeneralDialogTest, HelpModeClickShowsTheControlsWhatsThis)
{
    HelpMode help([](const QString&) {});
    auto form = Open();
    help.enter();
    QWidget* timer = form->field(SystemField::TimerB);
    QTest::mouseClick(timer, Qt::LeftButton, {}, timer->rect().center());
    EXPECT_FALSE(help.active());
    EXPECT_EQ(help.helpWindow(), nullptr);
    const QWidgetList shown = QApplication::topLevelWidgets();
    EXPECT_TRUE(
        std::ranges::any_of(shown, [](QWidget* w) { return w->inherits("QWhatsThat") && w->isVisible(); }));
    QWhatsThis::hideText();

    // Where a window has no such text, its page opens.
    help.enter();
    QWidget blank;
    blank.setProperty("helpTopic", QStringLiteral("modbus.html"));
    blank.show();
    QTest::mouseClick(&blank, Qt::LeftButton);
    ASSERT_NE(help.helpWindow(), nullptr);
}

// The System command runs the form modally over the document, and is greyed while a window holds genon.
TEST(SystemCommandTest, RunsTheFormOnTheDocument)
{
    testing::TestFolder folder;
    Image image;
    CreateDatabase(image);
    folder.writeBytes("Veskar.cfg", QByteArray(16, '\0'));
    folder.writeImage("Veskar.dat", image);
    ScriptedMessageService messages;
    ScriptedFileChooser files;
    MainWindow main(messages, files);
    main.setClock([] { return 0; });
    main.InitFile();
    int runs = 0;
    main.setDialogRunner([&](QDialog& dialog) {
        ++runs;
        auto& form = dynamic_cast<GeneralDialog&>(dialog);
        form.field(SystemField::TimerA)->setText(QStringLiteral("7"));
        form.accept();
        return form.result();
    });
    main.action(CommandId::System)->trigger();
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(main.document().image.gen.timerA.value, 7);
    EXPECT_TRUE(main.document().DatabaseChanged);

    const int holder = 0;
    main.flags().hold(&holder, {&CommandFlags::genon});
    EXPECT_FALSE(main.action(CommandId::System)->isEnabled());
    main.runCommand(static_cast<int>(CommandId::System));
    EXPECT_EQ(runs, 1);
    main.flags().release(&holder);
}

class ModbusDialogTest : public ::testing::Test {
  protected:
    ScriptedMessageService messages;
    Modbusdata record{100, 5};
};

TEST_F(ModbusDialogTest, ShowsAndStoresThePair)
{
    ModbusDialog dialog(nullptr, messages, record);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Modbus Settings"));
    EXPECT_EQ(dialog.address()->text(), QStringLiteral("100"));
    EXPECT_EQ(dialog.baudRate()->currentText(), QStringLiteral("9600"));
    dialog.address()->setText(QStringLiteral("255"));
    dialog.baudRate()->setCurrentIndex(0);
    dialog.accept();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(record, (Modbusdata{255, 0}));
}

TEST_F(ModbusDialogTest, RefusedAddressKeepsTheRecord)
{
    const struct {
        const char* typed;
        const char* text;
    } cases[] = {{"0", "The Modbus Address cannot be less than 1."},
                 {"", "The Modbus Address cannot be less than 1."},
                 {"256", "The Modbus Address cannot be greater than 255."}};
    for (const auto& c : cases) {
        messages.boxes.clear();
        ModbusDialog dialog(nullptr, messages, record);
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        dialog.address()->setText(QString::fromLatin1(c.typed));
        dialog.accept();
        EXPECT_TRUE(dialog.isVisible());
        ASSERT_EQ(messages.boxes.size(), 1u);
        EXPECT_EQ(messages.boxes[0].caption, QStringLiteral("Error"));
        EXPECT_EQ(messages.boxes[0].text, QString::fromLatin1(c.text));
        EXPECT_EQ(dialog.focusWidget(), dialog.address());
        EXPECT_EQ(record, (Modbusdata{100, 5}));
        messages.ScriptDiscard(true);
        dialog.reject();
    }
}

TEST_F(ModbusDialogTest, CancelAfterABaudChangeAsks)
{
    ModbusDialog dialog(nullptr, messages, record);
    dialog.show();
    dialog.baudRate()->setCurrentIndex(2);
    messages.ScriptDiscard(true);
    dialog.reject();
    EXPECT_FALSE(dialog.isVisible());
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].text, QStringLiteral("All changes made to Modbus will be lost."));
    EXPECT_EQ(record, (Modbusdata{100, 5}));
}

} // namespace
} // namespace veskar
