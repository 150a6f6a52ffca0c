#include "database/Defaults.h"
#include "database/Document.h"
#include "levels/SetptDialog.h"
#include "widgets/MessageService.h"

#include <QLabel>
#include <QSlider>

#include "../app/QtPrint.h"

#include <gtest/gtest.h>

namespace veskar {
namespace {

class SetptDialogTest : public ::testing::Test {
  protected:
    SetptDialogTest()
    {
        CreateDatabase(document.image);
        document.DatabaseChanged = false;
    }

    Document document;
    ScriptedMessageService messages;
};

TEST_F(SetptDialogTest, StoredCentreOpensAtTheTop)
{
    SetptDialog dialog(nullptr, document, messages);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(dialog.slider(i)->value(), dialog.slider(i)->maximum()) << i;
        EXPECT_EQ(dialog.valueText(i)->text(), QStringLiteral("0 dBm")) << i;
    }
}

TEST_F(SetptDialogTest, OkStoresTheMovedLevels)
{
    struct Case {
        int slider;
        int value;
        const char* text;
        Byte SystemBlock::*field;
        Byte stored;
    };
    const Case cases[] = {
        {0, 16, "-4 dBm", &SystemBlock::levelTxTone, 23},  {1, 0, "-20 dBm", &SystemBlock::levelTxVoice, 15},
        {2, 10, "-10 dBm", &SystemBlock::levelTxDtmf, 20}, {3, 0, "-20 dBm", &SystemBlock::levelRadioRx, 35},
        {4, 14, "-6 dBm", &SystemBlock::levelPhoneRx, 28}, {0, 15, "-4 dBm", &SystemBlock::levelTxTone, 23},
    };
    for (const Case& c : cases) {
        CreateDatabase(document.image);
        document.DatabaseChanged = false;
        SetptDialog dialog(nullptr, document, messages);
        dialog.open();
        dialog.slider(c.slider)->setValue(c.value);
        EXPECT_EQ(dialog.valueText(c.slider)->text(), QString::fromLatin1(c.text)) << c.slider;
        dialog.accept();
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(document.image.gen.*c.field, c.stored) << c.slider;
        EXPECT_TRUE(document.DatabaseChanged);
    }
    EXPECT_TRUE(messages.boxes.empty());
}

TEST_F(SetptDialogTest, CancelAfterAChangeAsksAndNoKeepsEditing)
{
    const Image before = document.image;
    SetptDialog dialog(nullptr, document, messages);
    dialog.open();
    dialog.slider(0)->setValue(12);

    messages.ScriptDiscard(false);
    dialog.reject();
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].text, QStringLiteral("All changes made to the audio levels will be lost."));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.slider(0)->value(), 12);

    messages.ScriptDiscard(true);
    dialog.reject();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(document.image, before);
    EXPECT_FALSE(document.DatabaseChanged);
}

TEST_F(SetptDialogTest, ClosingUnchangedAsksNothingAndMarksNothing)
{
    for (bool ok : {false, true}) {
        SetptDialog dialog(nullptr, document, messages);
        dialog.open();
        dialog.slider(2)->setValue(10);
        dialog.slider(2)->setValue(20); // moved and put back
        ok ? dialog.accept() : dialog.reject();
        EXPECT_FALSE(dialog.isVisible());
    }
    EXPECT_TRUE(messages.boxes.empty());
    EXPECT_FALSE(document.DatabaseChanged);
}

TEST_F(SetptDialogTest, LevelsOutsideTheSliders)
{
    document.image.gen.levelTxTone = 10;  // below: top, 0 dBm, stored as 25
    document.image.gen.levelRadioRx = 40; // below on a receive slider
    document.image.gen.levelTxVoice = 30; // above: clamped to the top, kept until a slider moves
    const Image stored = document.image;
    {
        SetptDialog dialog(nullptr, document, messages);
        dialog.open();
        dialog.reject();
        EXPECT_FALSE(dialog.isVisible());
    }
    EXPECT_EQ(document.image, stored); // Cancel never writes, not even the repaired levels
    {
        SetptDialog dialog(nullptr, document, messages);
        EXPECT_EQ(dialog.valueText(0)->text(), QStringLiteral("0 dBm"));
        EXPECT_EQ(dialog.slider(1)->value(), 20);
        EXPECT_EQ(dialog.valueText(1)->text(), QStringLiteral("+10 dBm"));
        dialog.open();
        dialog.accept();
    }
    EXPECT_EQ(document.image.gen.levelTxTone, 25);
    EXPECT_EQ(document.image.gen.levelRadioRx, 25);
    EXPECT_EQ(document.image.gen.levelTxVoice, 30);
    EXPECT_FALSE(document.DatabaseChanged);

    SetptDialog dialog(nullptr, document, messages);
    dialog.open();
    dialog.slider(4)->setValue(18);
    EXPECT_EQ(dialog.valueText(1)->text(), QStringLiteral("0 dBm"));
    dialog.accept();
    EXPECT_EQ(document.image.gen.levelTxVoice, 25);
    EXPECT_EQ(document.image.gen.levelPhoneRx, 26);
    EXPECT_TRUE(document.DatabaseChanged);
}

} // namespace
} // namespace veskar
