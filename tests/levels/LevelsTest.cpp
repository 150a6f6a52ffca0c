#include "levels/Levels.h"

#include <gtest/gtest.h>

namespace veskar {
namespace {

TEST(CalculateLevel, SignedDbmText)
{
    struct Case {
        Byte level;
        bool transmit;
        const char* text;
    };
    const Case cases[] = {
        {25, true, "0"},    {25, false, "0"}, {20, true, "-10"}, {23, false, "+4"}, {15, true, "-20"},
        {35, false, "-20"}, {28, true, "+6"}, {22, true, "-6"},  {0, true, "-50"},  {255, false, "-460"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CalculateLevel(c.level, c.transmit), c.text) << int(c.level) << " " << c.transmit;
}

TEST(SetPoints, FromAndBackToStoredLevels)
{
    struct Case {
        Byte level;
        LevelKind kind;
        int setPoint;
        Byte back; // what OK stores for it
    };
    const Case cases[] = {
        {25, LevelKind::Transmit, 20, 25},
        {15, LevelKind::Transmit, 0, 15},
        {23, LevelKind::Transmit, 16, 23},
        {25, LevelKind::Receive, 20, 25},
        {35, LevelKind::Receive, 0, 35},
        {30, LevelKind::Receive, 10, 30},
        // Below the slider: opens at the top, 0 dBm, and is stored as 25.
        {14, LevelKind::Transmit, 20, 25},
        {36, LevelKind::Receive, 20, 25},
        // Above the slider: kept as it is until a slider moves.
        {30, LevelKind::Transmit, 30, 30},
        {20, LevelKind::Receive, 30, 20},
    };
    for (const Case& c : cases) {
        const int setPoint = SetPointFromLevel(c.level, c.kind);
        EXPECT_EQ(setPoint, c.setPoint) << int(c.level);
        EXPECT_EQ(LevelFromSetPoint(setPoint, c.kind), c.back) << int(c.level);
    }
}

} // namespace
} // namespace veskar
