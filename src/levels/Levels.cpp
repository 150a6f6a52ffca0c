#include "levels/Levels.h"

#include <algorithm>

namespace veskar {

namespace {

std::string Signed(int value)
{
    return value > 0 ? "+" + std::to_string(value) : std::to_string(value);
}

} // namespace

std::string CalculateLevel(Byte level, bool transmit)
{
    const int dbm = transmit ? (level - 25) * 2 : (25 - level) * 2;
    return Signed(dbm);
}

int SetPointFromLevel(Byte level, LevelKind kind)
{
    const int setPoint = kind == LevelKind::Transmit ? (level - 15) * 2 : 20 - (level - 25) * 2;
    return setPoint < 0 ? kSetPointMax : setPoint;
}

Byte LevelFromSetPoint(int setPoint, LevelKind kind)
{
    const int level = kind == LevelKind::Transmit ? setPoint / 2 + 15 : (20 - setPoint) / 2 + 25;
    return static_cast<Byte>(std::clamp(level, 0, 255));
}

std::string SetPointText(int setPoint)
{
    return Signed(setPoint - 20) + " dBm";
}

int SliderValue(int setPoint)
{
    return std::clamp(setPoint, 0, kSetPointMax);
}

} // namespace veskar
