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

TEST(ConfigPreparation, CodesNeedBothAndAPhoneNeedsALineStartingWithDial)
{
    for (auto [access, ack, present] : {std::tuple{"1234", "2580", true}, std::tuple{"", "2580", false},
                                        std::tuple{"1234", "", false}, std::tuple{"", "", false}}) {
        Image image = Fresh();
        image.gen.accessCode = CodeFromText(access);
        image.gen.ackCode = CodeFromText(ack);
        EXPECT_EQ(CodesPresent(image.gen), present) << access << "/" << ack;
    }
    struct Case {
        int block;
        std::size_t at;
        std::vector<Byte> bytes;
        bool present;
        Byte fill = 0;
    };
    const std::vector<Case> cases = {
        {0, 0, {kOpDial, '1', kLineEnd}, true},
        {3, 0, {kOpRadio, kLineEnd, kOpDial, '2', kLineEnd}, true},
        {1, 250, {kLineEnd, kOpDial}, true, '1'},          // the last line with room for a command
        {1, 0, {kOpRadio, kOpDial, '2', kLineEnd}, false}, // dial as the second command of a line
        {2, 0, {kOpRadio, kOpAlert, kLineEnd}, false},
        {2, 0, {kOpRadio, kLineEnd, 0, kLineEnd, kOpDial, '2', kLineEnd}, false}, // left after the end
    };
    for (const Case& c : cases) {
        Image image = Fresh();
        for (DirectoryBlock& block : image.dir)
            block.fill(0);
        image.dir[static_cast<std::size_t>(c.block)].fill(c.fill);
        std::ranges::copy(c.bytes, image.dir[static_cast<std::size_t>(c.block)].begin() + c.at);
        EXPECT_EQ(PhonePresent(image), c.present) << "block " << c.block << " at " << c.at;
    }
}

// Levels outside their range go to the centre; the fixed fields and the flags are set.
TEST(ConfigPreparation, BothAdjustmentsFixLevelsAndFixedFields)
{
    Image image = Fresh();
    SystemBlock& gen = image.gen;
    std::tie(gen.levelRadioRx, gen.levelTxTone, gen.levelTxDtmf, gen.levelPhoneRx, gen.levelSpare2) =
        std::tuple(40, 14, 15, 35, 36);
    gen.levelSpare4 = 3;
    gen.fixed8c = 0;
    gen.fixedCode = CodeField{};
    PrepareForSending(image, false, true);
    EXPECT_EQ(
        std::tuple(gen.levelRadioRx, gen.levelTxTone, gen.levelTxDtmf, gen.levelPhoneRx, gen.levelSpare2),
        std::tuple(25, 25, 15, 35, 25));
    EXPECT_EQ(gen.levelSpare4, 30);
    EXPECT_EQ(gen.fixed8c, 60);
    EXPECT_EQ(CodeToText(gen.fixedCode), kFixedCode);
    for (auto [codes, phone, flags] :
         {std::tuple{false, true, 4}, std::tuple{true, true, 6}, std::tuple{true, false, 2}}) {
        PrepareForSending(image, codes, phone);
        EXPECT_EQ(gen.sendFlags, flags) << codes << phone;
    }

    std::tie(gen.levelSpare1, gen.levelSpare3, gen.levelTxVoice, gen.levelTxDtmf, gen.fixed8c) =
        std::tuple(20, 33, 99, 17, 0);
    SetPlusDefaults(gen);
    EXPECT_EQ(std::tuple(gen.levelSpare1, gen.levelSpare3, gen.levelTxVoice, gen.levelTxDtmf, gen.fixed8c),
              std::tuple(25, 25, 25, 17, 60));
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
