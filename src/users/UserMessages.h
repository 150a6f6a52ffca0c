#pragma once

// Every message of the user settings form and the user list window, as the
// user reads them ("\n" is a line break). The clash messages are completed
// with the other user's number: first part, N, ".", second part, N, ".".

#include "users/UserData.h"

#include <array>
#include <string_view>

namespace veskar {

struct CodeEntryMessages {
    std::string_view tooLong;
    std::string_view notDtmf;
};

// Record order: Start, Stop, Emergency, Interrogate.
inline constexpr std::array<CodeEntryMessages, kUserCodeCount> kCodeEntryMessages = {{
    {"The Start Code cannot be greater than 8 characters.",
     "The Start Code must consist of valid DTMF digits: 0-9, A-D, * or #."},
    {"The Stop Code cannot be greater than 8 characters.",
     "The Stop Code must consist of valid DTMF digits: 0-9, A-D, * or #."},
    {"The Emergency Code cannot be greater than 8 characters.",
     "The Emergency Code must consist of valid DTMF digits: 0-9, A-D, * or #."},
    {"The Interrogate Code cannot be greater than 8 characters.",
     "The Interrogate Code must consist of valid DTMF digits: 0-9, A-D, * or #."},
}};

inline constexpr std::string_view kIntervalBelowOne = "The Warning Interval cannot be less than 1 minute";
inline constexpr std::string_view kIntervalAbove255 =
    "The Warning Interval cannot be greater than 255 minutes";

// Two codes of the same user, in the order they are compared, and the one that takes the focus.
struct OwnPairMessage {
    UserCode first;
    UserCode second;
    UserCode focus;
    std::string_view text;
};

inline constexpr std::array<OwnPairMessage, 6> kOwnPairMessages = {{
    {UserCode::Start, UserCode::Stop, UserCode::Stop, "The Start Code and Stop Code cannot be the same."},
    {UserCode::Start, UserCode::Interrogate, UserCode::Interrogate,
     "The Start Code and Interrogate Code cannot be the same."},
    {UserCode::Start, UserCode::Emergency, UserCode::Emergency,
     "The Start Code and Emergency Code cannot be the same."},
    {UserCode::Stop, UserCode::Interrogate, UserCode::Interrogate,
     "The Stop Code and Interrogate Code cannot be the same."},
    {UserCode::Stop, UserCode::Emergency, UserCode::Emergency,
     "The Stop Code and Emergency Code cannot be the same."},
    {UserCode::Interrogate, UserCode::Emergency, UserCode::Interrogate,
     "The Interrogate Code and Emergency Code cannot be the same."},
}};

// This user's code against another user's code.
struct UserClashMessage {
    UserCode own;
    UserCode other;
    std::string_view first;
    std::string_view second;
};

inline constexpr std::array<UserClashMessage, 16> kUserClashMessages = {{
    {UserCode::Start, UserCode::Start, "The Start Code is the same as the Start Code for User ",
     "\n Change this Start Code or the Start Code for User "},
    {UserCode::Start, UserCode::Stop, "The Start Code is the same as the Stop Code for User ",
     "\n Change this Start Code or the Stop Code for User "},
    {UserCode::Start, UserCode::Interrogate, "The Start Code is the same as the Interrogate Code for User ",
     "\n Change this Start Code or the Interrogate Code for User "},
    {UserCode::Start, UserCode::Emergency, "The Start Code is the same as the Emergency Code for User ",
     "\n Change this Start Code or the Emergency Code for User "},
    {UserCode::Stop, UserCode::Start, "The Stop Code is the same as the Start Code for User ",
     "\n Change this Stop Code or the Start Code for User "},
    {UserCode::Stop, UserCode::Stop, "The Stop Code is the same as the Stop Code for User ",
     "\n Change this Stop Code or the Stop Code for User "},
    {UserCode::Stop, UserCode::Interrogate, "The Stop Code is the same as the Interrogate Code for User ",
     "\n Change this Stop Code or the Interrogate Code for User "},
    {UserCode::Stop, UserCode::Emergency, "The Stop Code is the same as the Emergency Code for User ",
     "\n Change this Stop Code or the Emergency Code for User "},
    {UserCode::Interrogate, UserCode::Start, "The Interrogate Code is the same as the Start Code for User ",
     "\n Change this Interrogate Code or the Start Code for User "},
    {UserCode::Interrogate, UserCode::Stop, "The Interrogate Code is the same as the Stop Code for User ",
     "\n Change this Interrogate Code or the Stop Code for User "},
    {UserCode::Interrogate, UserCode::Interrogate,
     "The Interrogate Code is the same as the Interrogate Code for User ",
     "\n Change this Interrogate Code or the Interrogate Code for User "},
    {UserCode::Interrogate, UserCode::Emergency,
     "The Interrogate Code is the same as the Emergency Code for User ",
     "\n Change this Interrogate Code or the Emergency Code for User "},
    {UserCode::Emergency, UserCode::Start, "The Emergency Code is the same as the Start Code for User ",
     "\n Change this Emergency Code or the Start Code for User "},
    {UserCode::Emergency, UserCode::Stop, "The Emergency Code is the same as the Stop Code for User ",
     "\n Change this Emergency or the Stop Code for User "},
    {UserCode::Emergency, UserCode::Interrogate,
     "The Emergency Code is the same as the Interrogate Code for User ",
     "\n Change this Emergency Code or the Interrogate Code for User "},
    {UserCode::Emergency, UserCode::Emergency,
     "The Emergency Code is the same as the Emergency Code for User ",
     "\n Change this Emergency Code or the Emergency Code for User "},
}};

inline constexpr std::string_view kStartWithoutStop = "There is a Start Code but no Stop Code.";

// This user's code against a system code. The system's status code is called
// the Interrogate Code where the user's Start or Stop Code meets it.
enum class SystemCode { Access, Acknowledge, Status, DirectoryControl };

struct SystemClashMessage {
    UserCode own;
    SystemCode system;
    std::string_view text;
};

inline constexpr std::array<SystemClashMessage, 16> kSystemClashMessages = {{
    {UserCode::Start, SystemCode::Access,
     "The Start Code is the same as the System Access Code. \n Change the Start Code or the Access Code in "
     "System."},
    {UserCode::Start, SystemCode::Acknowledge,
     "The Start Code is the same as the System Acknowledge Code. \n Change the Start Code or the Acknowledge "
     "Code "
     "in System."},
    {UserCode::Start, SystemCode::Status,
     "The Start Code is the same as the System Interrogate Code. \n Change the Start Code or the Interrogate "
     "Code "
     "in System."},
    {UserCode::Start, SystemCode::DirectoryControl,
     "The Start Code is the same as the System Directory Control Code. \n Change the Start Code or the "
     "Directory "
     "Control Code in System."},
    {UserCode::Stop, SystemCode::Access,
     "The Stop Code is the same as the System Access Code. \n Change the Stop Code or the Access Code in "
     "System."},
    {UserCode::Stop, SystemCode::Acknowledge,
     "The Stop Code is the same as the System Acknowledge Code. \n Change the Stop Code or the Acknowledge "
     "Code in "
     "System."},
    {UserCode::Stop, SystemCode::Status,
     "The Stop Code is the same as the System Interrogate Code. \n Change the Stop Code or the Interrogate "
     "Code in "
     "System."},
    {UserCode::Stop, SystemCode::DirectoryControl,
     "The Stop Code is the same as the System Directory Control Code. \n Change the Stop Code or the "
     "Directory "
     "Control Code in System."},
    {UserCode::Interrogate, SystemCode::Access,
     "The Interrogate Code is the same as the System Access Code. \n Change the Interrogate Code or the "
     "Access Code "
     "in System."},
    {UserCode::Interrogate, SystemCode::Acknowledge,
     "The Interrogate Code is the same as the System Acknowledge Code. \n Change the Interrogate Code or the "
     "Acknowledge Code in System."},
    {UserCode::Interrogate, SystemCode::Status,
     "The Interrogate Code is the same as the System Status Code. \n Change the Interrogate Code or the "
     "Status Code "
     "in System."},
    {UserCode::Interrogate, SystemCode::DirectoryControl,
     "The Interrogate Code is the same as the System Directory Control Code. \n Change the Interrogate Code "
     "or the "
     "Directory Control Code in System."},
    {UserCode::Emergency, SystemCode::Access,
     "The Emergency Code is the same as the System Access Code. \n Change the Emergency Code or the Access "
     "Code in "
     "System."},
    {UserCode::Emergency, SystemCode::Acknowledge,
     "The Emergency Code is the same as the System Acknowledge Code. \n Change the Emergency Code or the "
     "Acknowledge Code in System."},
    {UserCode::Emergency, SystemCode::Status,
     "The Emergency Code is the same as the System Status Code. \n Change the Emergency Code or the Status "
     "Code in "
     "System."},
    {UserCode::Emergency, SystemCode::DirectoryControl,
     "The Emergency Code is the same as the System Directory Control Code. \n Change the Emergency Code or "
     "the "
     "Directory Control Code in System."},
}};

// Subjects of the discard question.
inline constexpr std::string_view kUserFormSubject = " User settings";
inline constexpr std::string_view kUserListSubject = "the users";

} // namespace veskar
