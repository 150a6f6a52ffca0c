#pragma once

// The acceptance checks of the system settings form and of the Modbus form,
// and the warnings the system form gives after storing.

#include "database/Image.h"
#include "system/SystemData.h"
#include "widgets/Verdict.h"

#include <span>
#include <string>
#include <vector>

namespace veskar {

// The controls that a verdict can put the focus into.
enum class SystemField {
    SiteName,
    Access,
    Acknowledge,
    Interrogate,
    DirectoryControl,
    TimerA,
    TimerB,
    DefaultTimer
};

[[nodiscard]] constexpr SystemField FieldOf(SystemCode code)
{
    return static_cast<SystemField>(static_cast<int>(code) + 1);
}

inline constexpr int kDefaultTimerMaxMinutes = 4095;

// The first fault of OK, in the form's order; nothing when the entries can be stored.
[[nodiscard]] CheckResult<SystemField> CheckSystemEntries(const SystemEntries& entries);

// Every system code that equals a code of a user, as warnings in order: system
// codes Access to Directory Control, users 1-16, their codes Start, Stop,
// Emergency, Interrogate. An empty code clashes with nothing.
[[nodiscard]] std::vector<Verdict<SystemField>>
UserCodeClashes(const SystemEntries& entries, std::span<const UserRecord, kUserCount> users);

} // namespace veskar
