#include "database/FieldTable.h"
#include "database/Image.h"

#include <gtest/gtest.h>

#include <algorithm>

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
        {"user1.startCode", &image.User[0].startCode}, {"user16.userName", &image.User[15].userName},
        {"user7.warningInterval", &image.User[6].warningInterval}, {"gen.ackCode", &image.gen.ackCode},
        {"gen.defaultTimer", &image.gen.defaultTimer}, {"gen.modbusBaud", &image.gen.modbusBaud},
        {"gen.siteName", &image.gen.siteName}, {"dirC", &image.dir[2]},
    };
    for (const auto& [name, member] : cases) {
        const auto field = std::ranges::find(ImageFields(), std::string_view(name), &Field::name);
        ASSERT_NE(field, ImageFields().end()) << name;
        EXPECT_EQ(field->offset,
                  static_cast<std::size_t>(static_cast<const Byte*>(member) - image.bytes().data()))
            << name;
    }
}

TEST(Image, WordAndBaudFields)
{
    SystemBlock gen{};
    SetDefaultTimerMinutes(gen, 4095);
    EXPECT_EQ(DefaultTimerMinutes(gen), 4095);
    const std::pair<Byte, int> bauds[] = {{0, 300},  {1, 600},  {2, 1200}, {3, 2400},
                                          {4, 4800}, {5, 9600}, {255, 9600}};
    for (const auto& [code, rate] : bauds)
        EXPECT_EQ(ModbusBaudRate(code), rate) << int(code);
}

}  // namespace
}  // namespace veskar
