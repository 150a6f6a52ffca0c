#include "database/Defaults.h"
#include "database/FieldTable.h"
#include "database/Image.h"

#include <gtest/gtest.h>

namespace veskar {
namespace {

// The field table is the reference for every byte offset: it must tile each
// block exactly, with no gap and no overlap.
void ExpectTiles(std::span<const FieldSpec> fields, std::size_t blockSize)
{
    std::size_t next = 0;
    for (const FieldSpec& field : fields) {
        EXPECT_EQ(field.offset, next) << field.name;
        next = field.offset + field.width;
    }
    EXPECT_EQ(next, blockSize);
}

TEST(FieldTable, UserRecordFieldsTileTheRecord)
{
    ExpectTiles(UserRecordFields(), kUserRecordSize);
}

TEST(FieldTable, SystemBlockFieldsTileTheBlock)
{
    ExpectTiles(SystemBlockFields(), kSystemBlockSize);
}

TEST(FieldTable, ImageFieldsCoverTheWholeImageInOrder)
{
    std::size_t next = 0;
    for (const Field& field : ImageFields()) {
        ASSERT_EQ(field.offset, next) << field.name;
        next += field.width;
    }
    EXPECT_EQ(next, kImageSize);
}

const Field& FieldNamed(std::string_view name)
{
    for (const Field& field : ImageFields()) {
        if (field.name == name)
            return field;
    }
    ADD_FAILURE() << "no field " << name;
    return ImageFields().front();
}

// The table and the structure agree on where each kind of field sits.
TEST(FieldTable, AgreesWithTheStructure)
{
    Image image{};
    const auto at = [&](const void* member) {
        return static_cast<std::size_t>(static_cast<const Byte*>(member) - image.bytes().data());
    };
    EXPECT_EQ(FieldNamed("user1.startCode").offset, at(&image.User[0].startCode));
    EXPECT_EQ(FieldNamed("user16.userName").offset, at(&image.User[15].userName));
    EXPECT_EQ(FieldNamed("user7.warningInterval").offset, at(&image.User[6].warningInterval));
    EXPECT_EQ(FieldNamed("gen.ackCode").offset, at(&image.gen.ackCode));
    EXPECT_EQ(FieldNamed("gen.defaultTimer").offset, at(&image.gen.defaultTimer));
    EXPECT_EQ(FieldNamed("gen.modbusBaud").offset, at(&image.gen.modbusBaud));
    EXPECT_EQ(FieldNamed("gen.siteName").offset, at(&image.gen.siteName));
    EXPECT_EQ(FieldNamed("dirC").offset, at(&image.dir[2]));
}

TEST(Image, NewImageSerialisesBlocksWhereFilesExpectThem)
{
    Image image{};
    CreateDatabase(image);
    const auto bytes = image.bytes();
    ASSERT_EQ(bytes.size(), 3328U);
    EXPECT_EQ(bytes[2048 + 0x0F], 9) << "fixedLen opens the system block";
    EXPECT_EQ(bytes[2048 + 0x99], 0x01);
    EXPECT_EQ(bytes[2048 + 0x9A], 0x40);
    EXPECT_EQ(bytes[2304], 'R') << "directory A opens the directory area";
    EXPECT_EQ(bytes[2304 + 256], '&') << "directory B is empty";
}

TEST(Image, DefaultTimerIsSixteenthsOfAMinuteHighByteFirst)
{
    SystemBlock gen{};
    SetDefaultTimerMinutes(gen, 20);
    EXPECT_EQ(gen.defaultTimer[0], 0x01);
    EXPECT_EQ(gen.defaultTimer[1], 0x40);
    SetDefaultTimerMinutes(gen, 4095);
    EXPECT_EQ(DefaultTimerMinutes(gen), 4095);
}

TEST(Image, ModbusBaudCodes)
{
    const std::pair<Byte, int> cases[] = {{0, 300}, {1, 600}, {2, 1200}, {3, 2400}, {4, 4800}, {5, 9600}, {255, 9600}};
    for (const auto& [code, rate] : cases)
        EXPECT_EQ(ModbusBaudRate(code), rate) << int(code);
}

}  // namespace
}  // namespace veskar
