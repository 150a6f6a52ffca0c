#include "system/ModbusChecks.h"
#include "system/SystemMessages.h"

#include <gtest/gtest.h>

namespace veskar {
namespace {

TEST(ModbusChecksTest, AddressRange)
{
    struct Case {
        const char* address;
        std::string_view refusal; // empty: accepted
        Byte stored;
    };
    const Case cases[] = {
        {"1", "", 1},
        {"255", "", 255},
        {"0", kModbusAddressBelowOne, 0},
        {"", kModbusAddressBelowOne, 0},
        {"x7", kModbusAddressBelowOne, 0},
        {"256", kModbusAddressAbove255, 0},
        {"99999999999", kModbusAddressAbove255, 0},
        {"12 units", "", 12},
    };
    const Modbusdata record{100, 5};
    for (const Case& c : cases) {
        const ModbusEntries entries{c.address, 2};
        const CheckResult<ModbusField> verdict = CheckModbusEntries(entries);
        if (c.refusal.empty()) {
            EXPECT_FALSE(verdict) << c.address;
            EXPECT_EQ(StoreModbusEntries(entries, record), (Modbusdata{c.stored, 2})) << c.address;
            continue;
        }
        ASSERT_TRUE(verdict) << c.address;
        EXPECT_EQ(verdict->kind, MessageKind::Error);
        EXPECT_EQ(verdict->text, c.refusal);
        EXPECT_EQ(verdict->focus, ModbusField::Address);
    }
}

TEST(ModbusChecksTest, BaudCodeAndItsItem)
{
    EXPECT_EQ(kBaudItems[static_cast<std::size_t>(LoadModbusEntries({100, 5}).baud)], "9600");
    EXPECT_EQ(LoadModbusEntries({100, 0}).baud, 0);
    EXPECT_EQ(LoadModbusEntries({42, 6}).baud, kNoSelection);
    EXPECT_EQ(LoadModbusEntries({42, 6}).address, "42");
    // Nothing selected keeps a code no item stands for.
    EXPECT_EQ(StoreModbusEntries({"42", kNoSelection}, {42, 6}), (Modbusdata{42, 6}));
    EXPECT_EQ(StoreModbusEntries({"42", 0}, {42, 6}), (Modbusdata{42, 0}));
}

TEST(ModbusChecksTest, ChangeDetection)
{
    struct Case {
        ModbusEntries entries;
        bool changed;
    };
    const Modbusdata record{100, 5};
    const Case cases[] = {
        {{"100", 5}, false}, {{"100 ", 5}, false},           {{"101", 5}, true},     {{"100", 4}, true},
        {{"", 5}, true},     {{"100", kNoSelection}, false}, {{"001009", 5}, false}, // five characters read
    };
    for (const Case& c : cases)
        EXPECT_EQ(ModbusEntriesChanged(c.entries, record), c.changed)
            << c.entries.address << " " << c.entries.baud;
}

} // namespace
} // namespace veskar
