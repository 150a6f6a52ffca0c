#include "database/FieldTable.h"
#include "database/Image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <string_view>

namespace veskar {
namespace {

// The field table is the reference for every byte offset: each block and the
// whole image are tiled exactly, with no gap and no overlap.
TEST(FieldTable, TilesEachBlockAndTheImage)
{
    const auto expectTiles = [](std::span<const FieldSpec> fields, std::size_t size) {
        std::size_t next = 0;
        for (const FieldSpec& field : fields) {
            EXPECT_EQ(field.offset, next) << field.name;
            next = field.offset + field.width;
        }
        EXPECT_EQ(next, size);
    };
    expectTiles(UserRecordFields(), kUserRecordSize);
    expectTiles(SystemBlockFields(), kSystemBlockSize);
    std::size_t next = 0;
    for (const Field& field : ImageFields()) {
        ASSERT_EQ(field.offset, next) << field.name;
        next += field.width;
    }
    EXPECT_EQ(next, kImageSize);
}

TEST(FieldTable, AgreesWithTheStructure)
{
    Image image{};
    const std::pair<const char*, const void*> cases[] = {
        {"user1.startCode", &image.User[0].startCode},
        {"user16.userName", &image.User[15].userName},
        {"user7.warningInterval", &image.User[6].warningInterval},
        {"gen.ackCode", &image.gen.ackCode},
        {"gen.defaultTimer", &image.gen.defaultTimer},
        {"gen.modbusBaud", &image.gen.modbusBaud},
        {"gen.siteName", &image.gen.siteName},
        {"dirC", &image.dir[2]},
    };
    for (const auto& [name, member] : cases) {
        const auto field = std::ranges::find(ImageFields(), std::string_view(name), &Field::name);
        ASSERT_NE(field, ImageFields().end()) << name;
        EXPECT_EQ(field->offset,
                  static_cast<std::size_t>(static_cast<const Byte*>(member) - image.bytes().data()))
            << name;
    }
}

// Written from the stored layout, not from the code: each member's place and
// width in the structure, and the field table's entry of the same name.
struct Pinned {
    std::string_view name;
    std::size_t memberOffset;
    std::size_t memberWidth;
    std::size_t offset;
    std::size_t width;
};

constexpr Pinned kUserLayout[] = {
    {"startCode", offsetof(UserRecord, startCode), sizeof(UserRecord::startCode), 0x00, 16},
    {"stopCode", offsetof(UserRecord, stopCode), sizeof(UserRecord::stopCode), 0x10, 16},
    {"emergencyCode", offsetof(UserRecord, emergencyCode), sizeof(UserRecord::emergencyCode), 0x20, 16},
    {"interrogateCode", offsetof(UserRecord, interrogateCode), sizeof(UserRecord::interrogateCode), 0x30, 16},
    {"reserved40", offsetof(UserRecord, reserved40), sizeof(UserRecord::reserved40), 0x40, 16},
    {"reserved50", offsetof(UserRecord, reserved50), sizeof(UserRecord::reserved50), 0x50, 1},
    {"reserved51", offsetof(UserRecord, reserved51), sizeof(UserRecord::reserved51), 0x51, 1},
    {"allowTimerChange", offsetof(UserRecord, allowTimerChange), sizeof(UserRecord::allowTimerChange), 0x52,
     1},
    {"speakTimerNumber", offsetof(UserRecord, speakTimerNumber), sizeof(UserRecord::speakTimerNumber), 0x53,
     1},
    {"enableCallout", offsetof(UserRecord, enableCallout), sizeof(UserRecord::enableCallout), 0x54, 1},
    {"askEmergencyConfirm", offsetof(UserRecord, askEmergencyConfirm),
     sizeof(UserRecord::askEmergencyConfirm), 0x55, 1},
    {"useDtmfName", offsetof(UserRecord, useDtmfName), sizeof(UserRecord::useDtmfName), 0x56, 1},
    {"useVoiceName", offsetof(UserRecord, useVoiceName), sizeof(UserRecord::useVoiceName), 0x57, 1},
    {"useVoiceLocation", offsetof(UserRecord, useVoiceLocation), sizeof(UserRecord::useVoiceLocation), 0x58,
     1},
    {"warningInterval", offsetof(UserRecord, warningInterval), sizeof(UserRecord::warningInterval), 0x59, 1},
    {"askName", offsetof(UserRecord, askName), sizeof(UserRecord::askName), 0x5A, 1},
    {"askLocation", offsetof(UserRecord, askLocation), sizeof(UserRecord::askLocation), 0x5B, 1},
    {"askTimer", offsetof(UserRecord, askTimer), sizeof(UserRecord::askTimer), 0x5C, 1},
    {"playSettings", offsetof(UserRecord, playSettings), sizeof(UserRecord::playSettings), 0x5D, 1},
    {"askSettingsConfirm", offsetof(UserRecord, askSettingsConfirm), sizeof(UserRecord::askSettingsConfirm),
     0x5E, 1},
    {"useDtmfLocation", offsetof(UserRecord, useDtmfLocation), sizeof(UserRecord::useDtmfLocation), 0x5F, 1},
    {"reserved60", offsetof(UserRecord, reserved60), sizeof(UserRecord::reserved60), 0x60, 16},
    {"userName", offsetof(UserRecord, userName), sizeof(UserRecord::userName), 0x70, 16},
};

constexpr Pinned kSystemLayout[] = {
    {"fixedCode", offsetof(SystemBlock, fixedCode), sizeof(SystemBlock::fixedCode), 0x00, 16},
    {"accessCode", offsetof(SystemBlock, accessCode), sizeof(SystemBlock::accessCode), 0x10, 16},
    {"ackCode", offsetof(SystemBlock, ackCode), sizeof(SystemBlock::ackCode), 0x20, 16},
    {"ack60Code", offsetof(SystemBlock, ack60Code), sizeof(SystemBlock::ack60Code), 0x30, 16},
    {"statusCode", offsetof(SystemBlock, statusCode), sizeof(SystemBlock::statusCode), 0x40, 16},
    {"dirChangeCode", offsetof(SystemBlock, dirChangeCode), sizeof(SystemBlock::dirChangeCode), 0x50, 16},
    {"reserved60", offsetof(SystemBlock, reserved60), sizeof(SystemBlock::reserved60), 0x60, 16},
    {"timerA", offsetof(SystemBlock, timerA), sizeof(SystemBlock::timerA), 0x70, 4},
    {"timerB", offsetof(SystemBlock, timerB), sizeof(SystemBlock::timerB), 0x74, 4},
    {"split3", offsetof(SystemBlock, split3), sizeof(SystemBlock::split3), 0x78, 4},
    {"split4", offsetof(SystemBlock, split4), sizeof(SystemBlock::split4), 0x7C, 4},
    {"timesA", offsetof(SystemBlock, timesA), sizeof(SystemBlock::timesA), 0x80, 1},
    {"squelchHigh", offsetof(SystemBlock, squelchHigh), sizeof(SystemBlock::squelchHigh), 0x81, 1},
    {"useAckRequest", offsetof(SystemBlock, useAckRequest), sizeof(SystemBlock::useAckRequest), 0x82, 1},
    {"ringsBeforeAnswer", offsetof(SystemBlock, ringsBeforeAnswer), sizeof(SystemBlock::ringsBeforeAnswer),
     0x83, 1},
    {"pulseDial", offsetof(SystemBlock, pulseDial), sizeof(SystemBlock::pulseDial), 0x84, 1},
    {"radioWarning", offsetof(SystemBlock, radioWarning), sizeof(SystemBlock::radioWarning), 0x85, 1},
    {"reserved86", offsetof(SystemBlock, reserved86), sizeof(SystemBlock::reserved86), 0x86, 1},
    {"useRecordedSiteId", offsetof(SystemBlock, useRecordedSiteId), sizeof(SystemBlock::useRecordedSiteId),
     0x87, 1},
    {"sendFlags", offsetof(SystemBlock, sendFlags), sizeof(SystemBlock::sendFlags), 0x88, 1},
    {"reserved89", offsetof(SystemBlock, reserved89), sizeof(SystemBlock::reserved89), 0x89, 1},
    {"useCallProgress", offsetof(SystemBlock, useCallProgress), sizeof(SystemBlock::useCallProgress), 0x8A,
     1},
    {"reserved8b", offsetof(SystemBlock, reserved8b), sizeof(SystemBlock::reserved8b), 0x8B, 1},
    {"fixed8c", offsetof(SystemBlock, fixed8c), sizeof(SystemBlock::fixed8c), 0x8C, 1},
    {"levelTxTone", offsetof(SystemBlock, levelTxTone), sizeof(SystemBlock::levelTxTone), 0x8D, 1},
    {"levelTxDtmf", offsetof(SystemBlock, levelTxDtmf), sizeof(SystemBlock::levelTxDtmf), 0x8E, 1},
    {"levelTxVoice", offsetof(SystemBlock, levelTxVoice), sizeof(SystemBlock::levelTxVoice), 0x8F, 1},
    {"levelRadioRx", offsetof(SystemBlock, levelRadioRx), sizeof(SystemBlock::levelRadioRx), 0x90, 1},
    {"levelSpare1", offsetof(SystemBlock, levelSpare1), sizeof(SystemBlock::levelSpare1), 0x91, 1},
    {"levelSpare2", offsetof(SystemBlock, levelSpare2), sizeof(SystemBlock::levelSpare2), 0x92, 1},
    {"levelSpare3", offsetof(SystemBlock, levelSpare3), sizeof(SystemBlock::levelSpare3), 0x93, 1},
    {"levelPhoneRx", offsetof(SystemBlock, levelPhoneRx), sizeof(SystemBlock::levelPhoneRx), 0x94, 1},
    {"levelSpare4", offsetof(SystemBlock, levelSpare4), sizeof(SystemBlock::levelSpare4), 0x95, 1},
    {"modbusAddress", offsetof(SystemBlock, modbusAddress), sizeof(SystemBlock::modbusAddress), 0x96, 1},
    {"modbusBaud", offsetof(SystemBlock, modbusBaud), sizeof(SystemBlock::modbusBaud), 0x97, 1},
    {"reserved98", offsetof(SystemBlock, reserved98), sizeof(SystemBlock::reserved98), 0x98, 1},
    {"defaultTimer", offsetof(SystemBlock, defaultTimer), sizeof(SystemBlock::defaultTimer), 0x99, 2},
    {"reserved9b", offsetof(SystemBlock, reserved9b), sizeof(SystemBlock::reserved9b), 0x9B, 85},
    {"siteName", offsetof(SystemBlock, siteName), sizeof(SystemBlock::siteName), 0xF0, 16},
};

TEST(ImageLayout, EveryFieldSitsWhereTheStoredFormatSays)
{
    const auto check = [](std::span<const Pinned> layout, std::span<const FieldSpec> table) {
        ASSERT_EQ(table.size(), layout.size());
        for (std::size_t i = 0; i < layout.size(); ++i) {
            const Pinned& pinned = layout[i];
            SCOPED_TRACE(pinned.name);
            EXPECT_EQ(pinned.memberOffset, pinned.offset) << "structure";
            EXPECT_EQ(pinned.memberWidth, pinned.width) << "structure";
            EXPECT_EQ(table[i].name, pinned.name) << "table order";
            EXPECT_EQ(table[i].offset, pinned.offset) << "table";
            EXPECT_EQ(table[i].width, pinned.width) << "table";
        }
    };
    check(kUserLayout, UserRecordFields());
    check(kSystemLayout, SystemBlockFields());
}

TEST(Image, WordAndBaudFields)
{
    SystemBlock gen{};
    SetDefaultTimerMinutes(gen, 4095);
    EXPECT_EQ(DefaultTimerMinutes(gen), 4095);
    const std::pair<Byte, int> bauds[] = {{0, 300},  {1, 600},  {2, 1200},  {3, 2400},
                                          {4, 4800}, {5, 9600}, {255, 9600}};
    for (const auto& [code, rate] : bauds)
        EXPECT_EQ(ModbusBaudRate(code), rate) << int(code);
}

} // namespace
} // namespace veskar
