#pragma once

// Every message of the system settings form and the Modbus settings form, as
// the user reads them ("\n" is a line break). The clash warnings are completed
// with the user's number: first part, N, ".", second part, N, ".".

#include "system/SystemData.h"

#include <array>
#include <string_view>

namespace veskar {

inline constexpr std::string_view kSystemFormSubject = " System";
inline constexpr std::string_view kModbusFormSubject = "Modbus";

inline constexpr std::string_view kSiteNameTooLong = "The name cannot be greater than 16 characters.";

struct SystemCodeMessages {
    std::string_view tooLong;
    std::string_view notDtmf;
};

// Order of SystemCode: Access, Acknowledge, Interrogate, Directory Control.
inline constexpr std::array<SystemCodeMessages, kSystemCodeCount> kSystemCodeMessages = {{
    {"The Access Code cannot be greater than 8 characters.",
     "The Access Code must consist of valid DTMF digits: 0-9, A-D, * or #."},
    {"The Acknowledge Code cannot be greater than 8 characters.",
     "The Acknowledge Code must consist of valid DTMF digits: 0-9, A-D, * or #."},
    {"The Interrogate Code cannot be greater than 8 characters.",
     "The Interrogate Code must consist of valid DTMF digits: 0-9, A-D, * or #."},
    {"The Directory Change Code cannot be greater than 8 characters.",
     "The Directory Change Code must consist of valid DTMF digits: 0-9, A-D, * or #."},
}};

inline constexpr std::string_view kTimerABelowOne = "Timer A cannot be less than 1.";
inline constexpr std::string_view kTimerAAbove249 = "Timer A cannot be greater than 249.";
inline constexpr std::string_view kTimerBBelowZero = "Timer B cannot be less than 0.";
inline constexpr std::string_view kTimerBAbove249 = "Timer B cannot be greater than 249.";
inline constexpr std::string_view kDefaultTimerBelowOne = "The Default Timer cannot be less than 1.";
// The stored minutes x 16 must fit in 16 bits.
inline constexpr std::string_view kDefaultTimerAboveLimit = "The Default Timer cannot be more than 4095.";

// A system code equal to a user's code. Rows: the system code, then the user
// code in record order (Start, Stop, Emergency, Interrogate).
struct SystemClashText {
    std::string_view first;
    std::string_view second;
};

inline constexpr std::array<std::array<SystemClashText, 4>, kSystemCodeCount> kSystemClashTexts = {{
    {{
        {"The Access Code is the same as the Start Code for User ",
         "\n Change the Access Code or the Start Code for User "},
        {"The Access Code is the same as the Stop Code for User ",
         "\n Change the Access Code or the Stop Code for User "},
        {"The Access Code is the same as the Emergency Code for User ",
         "\n Change the Access Code or the Emergency Code for User "},
        {"The Access Code is the same as the Interrogate Code for User ",
         "\n Change the Access Code or the Interrogate Code for User "},
    }},
    {{
        {"The Acknowledge Code is the same as the Start Code for User ",
         "\n Change the Acknowledge Code or the Start Code for User "},
        {"The Acknowledge Code is the same as the Stop Code for User ",
         "\n Change the Acknowledge Code or the Stop Code for User "},
        {"The Acknowledge Code is the same as the Emergency Code for User ",
         "\n Change the Acknowledge Code or the Emergency Code for User "},
        {"The Acknowledge Code is the same as the Interrogate Code for User ",
         "\n Change the Acknowledge Code or the Interrogate Code for User "},
    }},
    {{
        {"The Interrogate Code is the same as the Start Code for User ",
         "\n Change the Interrogate Code or the Start Code for User "},
        {"The Interrogate Code is the same as the Stop Code for User ",
         "\n Change the Interrogate Code or the Stop Code for User "},
        {"The Interrogate Code is the same as the Emergency Code for User ",
         "\n Change the Interrogate Code or the Emergency Code for User "},
        {"The Interrogate Code is the same as the Interrogate Code for User ",
         "\n Change the Interrogate Code or the Interrogate Code for User "},
    }},
    {{
        {"The Directory Change Code is the same as the Start Code for User ",
         "\n Change the Directory Change Code or the Start Code for User "},
        {"The Directory Change Code is the same as the Stop Code for User ",
         "\n Change the Directory Change Code or the Stop Code for User "},
        {"The Directory Change Code is the same as the Emergency Code for User ",
         "\n Change the Directory Change Code or the Emergency Code for User "},
        {"The Directory Change Code is the same as the Interrogate Code for User ",
         "\n Change the Directory Change Code or the Interrogate Code for User "},
    }},
}};

// The advice when "Use Call Progress" is ticked while a directory answers right after dialling.
inline constexpr std::string_view kAnswerAfterDialStart =
    "The ANSWER command appears immediately after a Dial command in ";
inline constexpr std::string_view kOneDirectory = "Directory ";
inline constexpr std::string_view kSeveralDirectories = "Directories ";
inline constexpr std::string_view kDirectorySeparator = ", ";
inline constexpr std::string_view kLastDirectorySeparator = " and ";
inline constexpr std::string_view kDirectoryListEnd = "."; // after several letters only
inline constexpr std::string_view kAnswerAfterDialEnd =
    "\nUsing Call Progress and ANSWER duplicates the requirement for a response by the called party."
    "\nUse the What's This help for Call Progress to get a full explanation.";

inline constexpr std::string_view kModbusAddressBelowOne = "The Modbus Address cannot be less than 1.";
inline constexpr std::string_view kModbusAddressAbove255 = "The Modbus Address cannot be greater than 255.";

} // namespace veskar
