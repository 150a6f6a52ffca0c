#include "directories/DirDialog.h"
#include "widgets/MessageService.h"

#include "../app/QtPrint.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace veskar {
namespace {

using enum LineCommand;

class DirDialogTest : public ::testing::Test {
  protected:
    void Open(bool callProgress = false)
    {
        dialog = std::make_unique<DirDialog>(nullptr, messages, 1, 2, record, callProgress);
        dialog->open();
    }
    void Press(LineCommand command) { dialog->commandButton(command)->click(); }

    ScriptedMessageService messages;
    Editline record;
    std::unique_ptr<DirDialog> dialog;
};

TEST_F(DirDialogTest, BuildsADialLineRowByRow)
{
    Open();
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("EDITING DIRECTORY B - LINE 3"));
    EXPECT_EQ(dialog->marker(0)->text(), QStringLiteral("->"));
    EXPECT_FALSE(dialog->selector(1)->isEnabled());

    Press(Voice);
    EXPECT_EQ(messages.Texts(),
              QStringList{QStringLiteral("Voice cannot be the first command - use Dial or Radio.")});
    EXPECT_EQ(messages.boxes[0].caption, QStringLiteral("Error"));

    Press(Dial);
    EXPECT_EQ(dialog->label(0)->text(), QStringLiteral(" [DIAL]"));
    EXPECT_EQ(dialog->valueField(0)->text(), QStringLiteral("0000"));
    EXPECT_EQ(dialog->selectedRow(), 1);
    EXPECT_EQ(dialog->marker(1)->text(), QStringLiteral("->"));
    EXPECT_TRUE(dialog->marker(0)->text().isEmpty());
    EXPECT_EQ(dialog->valueField(0)->maxLength(), 39); // what a line keeps, not the 40 typed
    dialog->selector(0)->click();
    Press(Dial); // already there: nothing at all
    EXPECT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(dialog->selectedRow(), 0);
    dialog->selector(1)->click();

    Press(Voice);
    Press(Dtmf);
    for (int row = 0; row < 4; ++row)
        EXPECT_TRUE(dialog->selector(row)->isEnabled()) << row;
    for (int row = 4; row < 12; ++row) {
        EXPECT_FALSE(dialog->selector(row)->isEnabled()) << row;
        EXPECT_FALSE(dialog->valueField(row)->isEnabled()) << row;
    }
    EXPECT_FALSE(dialog->valueField(1)->isEnabled()); // VOICE has no value
    QTest::mouseClick(dialog->label(5), Qt::LeftButton);
    EXPECT_EQ(dialog->selectedRow(), 3);

    dialog->valueField(0)->setText(QStringLiteral("01 23-45"));
    dialog->valueField(2)->setText(QStringLiteral("1a#"));
    dialog->accept();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(record.accepted);
    EXPECT_EQ(record.rows[0], (EditRow{" [DIAL]", "012345"}));
    EXPECT_EQ(record.rows[1], (EditRow{" [VOICE]", ""}));
    EXPECT_EQ(record.rows[2], (EditRow{" [DTMF]", "1A#"}));
}

TEST_F(DirDialogTest, AStoppingCheckFocusesItsRowAndKeepsTheLine)
{
    Open();
    Press(Radio);
    Press(SingleTone);
    dialog->valueField(1)->setText(QStringLiteral("2000.0"));
    dialog->accept();
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(messages.Texts(),
              QStringList{QStringLiteral("Single Tone - Frequency cannot be greater than 1999.9 Hz.")});
    EXPECT_EQ(dialog->selectedRow(), 1);
    EXPECT_EQ(dialog->valueField(1)->selectedText(), QStringLiteral("2000.0"));
    EXPECT_FALSE(record.accepted);

    // A question answered Yes stops too; No goes on and confirms.
    dialog->valueField(1)->setText(QStringLiteral("1234.5"));
    messages.Script(MessageService::Answer::Yes);
    dialog->accept();
    EXPECT_TRUE(dialog->isVisible());
    messages.Script(MessageService::Answer::No);
    dialog->accept();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(record.accepted);
    EXPECT_EQ(record.rows[1].value, "1234.5");
}

// Tab goes from each selector to its value, if it has one, then to the next
// row, up to the free row; Up and Down move the marker with the focus; Tab
// from Delete closes the cycle at row 0.
TEST_F(DirDialogTest, TheKeyboardWalksTheRows)
{
    record.rows[0] = {" [DIAL]", "0123"};
    record.rows[1] = {" [VOICE]", ""};
    Open();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    const struct {
        Qt::Key key;
        QWidget* focus;
        int selected;
    } steps[] = {
        {Qt::Key_Tab, dialog->valueField(0), 0},       {Qt::Key_Tab, dialog->selector(1), 1},
        {Qt::Key_Tab, dialog->selector(2), 2},         {Qt::Key_Up, dialog->selector(1), 1},
        {Qt::Key_Down, dialog->selector(2), 2},        {Qt::Key_Down, dialog->selector(2), 2},
        {Qt::Key_Tab, dialog->commandButton(Dial), 2},
    };
    for (const auto& step : steps) {
        QTest::keyClick(QApplication::focusWidget(), step.key);
        EXPECT_EQ(QApplication::focusWidget(), step.focus) << step.key << " to row " << step.selected;
        EXPECT_EQ(dialog->selectedRow(), step.selected);
        EXPECT_EQ(dialog->marker(step.selected)->text(), QStringLiteral("->"));
    }
    dialog->deleteButton()->setFocus();
    QTest::keyClick(dialog->deleteButton(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), dialog->selector(0));
    EXPECT_EQ(dialog->selectedRow(), 0);
}

TEST_F(DirDialogTest, CallProgressNoticeThenAnswer)
{
    Open(true);
    Press(Dial);
    Press(Answer);
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].caption, QStringLiteral("Warning"));
    EXPECT_EQ(messages.boxes[0].buttons, MessageService::Buttons::Ok);
    EXPECT_TRUE(messages.boxes[0].text.startsWith(
        QStringLiteral("Call Progress is enabled in the General section.\n")));
    EXPECT_EQ(dialog->label(1)->text(), QStringLiteral(" [ANSWER]"));
    Press(Voice);
    Press(Answer); // row 3: no notice
    EXPECT_EQ(messages.boxes.size(), 1u);
}

TEST_F(DirDialogTest, FullLineAndDeleteQuestions)
{
    Open();
    Press(Radio);
    for (int i = 0; i < 11; ++i)
        Press(Voice);
    EXPECT_EQ(dialog->selectedRow(), 11);
    dialog->selector(1)->click();
    Press(Alert); // the question is answered No: all 12 stay
    EXPECT_EQ(
        messages.Texts().last(),
        QStringLiteral(
            "The maximum number of commands are presently entered, the last entry will be lost - Proceed?."));
    EXPECT_EQ(dialog->label(1)->text(), QStringLiteral(" [VOICE]"));
    messages.Script(MessageService::Answer::Yes);
    Press(Alert);
    EXPECT_EQ(dialog->label(1)->text(), QStringLiteral(" [ALERT]"));
    EXPECT_EQ(dialog->label(11)->text(), QStringLiteral(" [VOICE]"));

    dialog->selector(4)->click();
    dialog->deleteButton()->click();
    EXPECT_TRUE(dialog->label(11)->text().isEmpty());

    dialog->selector(0)->click();
    dialog->deleteButton()->click(); // No: nothing changes
    EXPECT_EQ(messages.Texts().last(),
              QStringLiteral("Deleting the first entry will clear the entire directroy line - Proceed?."));
    EXPECT_EQ(dialog->label(0)->text(), QStringLiteral(" [RADIO]"));
    messages.Script(MessageService::Answer::Yes);
    dialog->deleteButton()->click();
    EXPECT_TRUE(dialog->label(0)->text().isEmpty());

    dialog->accept(); // an emptied line closes at once, not accepted
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(record.accepted);
    EXPECT_TRUE(record.empty());
}

TEST_F(DirDialogTest, CancelAsksOnlyAfterAChangeAndKeepsTheRecord)
{
    // As a block may hold them: a value for a command that takes none, one longer than its field takes.
    record.rows[0] = {" [RADIO]", "xyz"};
    record.rows[1] = {" [WAIT]", "0100"};
    const Editline opened = record;
    Open();
    EXPECT_EQ(dialog->valueField(1)->text(), QStringLiteral("0100"));
    dialog->reject();
    EXPECT_TRUE(messages.boxes.empty());
    EXPECT_FALSE(dialog->isVisible());

    Open();
    dialog->valueField(1)->setText(QStringLiteral("020"));
    messages.ScriptDiscard(false);
    dialog->reject();
    EXPECT_EQ(messages.Texts(),
              QStringList{QStringLiteral("All changes made to this Directory line will be lost.")});
    EXPECT_TRUE(dialog->isVisible());
    messages.ScriptDiscard(true);
    dialog->reject();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(record, opened);

    Open();
    dialog->selector(2)->click();
    Press(Alert);
    dialog->accept();
    EXPECT_EQ(record.rows[0].value, "xyz");
    EXPECT_EQ(record.rows[1].value, "0100");
}

} // namespace
} // namespace veskar
