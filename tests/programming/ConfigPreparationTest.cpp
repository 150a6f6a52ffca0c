#include "programming/ConfigPreparation.h"
#include "database/Codes.h"
#include "database/Defaults.h"
#include "directories/CommandTable.h"
#include "programming/PortSettings.h"

#include <gtest/gtest.h>

namespace veskar {
namespace {

Image Fresh()
{
    Image image{};
    CreateDatabase(image);
    return image;
}

TEST(ConfigPreparation, CodesPresentNeedsBothCodes)
{
    struct Case {
        const char* access;
        const char* ack;
        bool present;
    };
    for (const Case& c : {Case{"1234", "2580", true}, Case{"", "2580", false}, Case{"1234", "", false},
                          Case{"", "", false}}) {
        Image image = Fresh();
        image.gen.accessCode = CodeFromText(c.access);
        image.gen.ackCode = CodeFromText(c.ack);
        EXPECT_EQ(CodesPresent(image.gen), c.present) << c.access << "/" << c.ack;
    }
}

TEST(ConfigPreparation, PhonePresentOnlyWhenALineStartsWithDial)
{
    struct Case {
        int block;
        std::vector<Byte> bytes;
        bool present;
    };
    const std::vector<Case> cases = {
        {0, {kOpDial, '1', kLineEnd}, true},
        {3, {kOpRadio, kLineEnd, kOpDial, '2', kLineEnd}, true},
        {1, {kOpRadio, kOpDial, '2', kLineEnd}, false}, // dial as the second command of a line
        {2, {kOpRadio, kOpAlert, kLineEnd}, false},
    };
    for (const Case& c : cases) {
        Image image = Fresh();
        for (DirectoryBlock& block : image.dir)
            block.fill(0);
        std::ranges::copy(c.bytes, image.dir[static_cast<std::size_t>(c.block)].begin());
        EXPECT_EQ(PhonePresent(image), c.present) << "block " << c.block;
    }
    Image late = Fresh();
    late.dir[1][250] = kLineEnd;
    late.dir[1][251] = kOpDial;
    EXPECT_TRUE(PhonePresent(late));
}

TEST(ConfigPreparation, LevelsFixedCodeAndFlagsBeforeSending)
{
    Image image = Fresh();
    image.gen.levelRadioRx = 40;
    image.gen.levelTxTone = 14;
    image.gen.levelTxDtmf = 15;
    image.gen.levelPhoneRx = 35;
    image.gen.levelSpare2 = 36;
    image.gen.levelSpare4 = 3;
    image.gen.fixed8c = 0;
    image.gen.fixedCode = CodeField{};
    image.gen.sendFlags = 0xFF;

    PrepareForSending(image, false, true);
    EXPECT_EQ(image.gen.levelRadioRx, 25);
    EXPECT_EQ(image.gen.levelTxTone, 25);
    EXPECT_EQ(image.gen.levelTxDtmf, 15);
    EXPECT_EQ(image.gen.levelPhoneRx, 35);
    EXPECT_EQ(image.gen.levelSpare2, 25);
    EXPECT_EQ(image.gen.levelSpare4, 30);
    EXPECT_EQ(image.gen.fixed8c, 60);
    EXPECT_EQ(CodeToText(image.gen.fixedCode), kFixedCode);
    EXPECT_EQ(image.gen.sendFlags, kSendFlagPhone);

    for (auto [codes, phone, flags] :
         {std::tuple{true, true, 6}, std::tuple{true, false, 2}, std::tuple{false, false, 0}}) {
        PrepareForSending(image, codes, phone);
        EXPECT_EQ(image.gen.sendFlags, flags);
    }
}

TEST(ConfigPreparation, SecondAdjustmentSetsTheSpareLevels)
{
    Image image = Fresh();
    image.gen.levelSpare1 = 20;
    image.gen.levelSpare3 = 33;
    image.gen.levelTxVoice = 99;
    image.gen.levelTxDtmf = 17;
    SetPlusDefaults(image.gen);
    EXPECT_EQ(image.gen.levelSpare1, 25);
    EXPECT_EQ(image.gen.levelSpare3, 25);
    EXPECT_EQ(image.gen.levelTxVoice, 25);
    EXPECT_EQ(image.gen.levelTxDtmf, 17);
    EXPECT_EQ(image.gen.levelSpare4, 30);
}

TEST(PortSettingsIndex, AnythingPastTheLastPortMeansTheFirst)
{
    PortSettings cfg;
    for (auto [stored, name] :
         {std::pair{0, "COM1"}, std::pair{7, "COM8"}, std::pair{8, "COM1"}, std::pair{255, "COM1"}}) {
        cfg.bytes[0] = static_cast<Byte>(stored);
        EXPECT_EQ(PortName(cfg.portIndex()), name) << stored;
    }
}

} // namespace
} // namespace veskar
