#pragma once

// What's This help of the system settings and Modbus settings forms, one text
// per control id. The call-progress advice points the user at the text of 312.

#include <array>
#include <string_view>

namespace veskar {

struct WhatsThisText {
    int id;
    std::string_view text;
};

inline constexpr std::array<WhatsThisText, 19> kSystemWhatsThis = {{
    {404, "Site Name: up to 16 characters that name this unit; the summary shows it as the Site ID."},
    {401, "Access Code: the DTMF code (up to 8 digits: 0-9, A-D, * or #) that gives access to the unit. "
          "Leave it empty for no access code. No system code should equal a user's code."},
    {402, "Acknowledge Code: the DTMF code (up to 8 digits) that acknowledges an alarm call. The unit also "
          "takes this code followed by # as the 60 minute acknowledgement."},
    {403, "Interrogate Code: the DTMF code (up to 8 digits) that asks the unit for its status."},
    {406, "Directory Control: the DTMF code (up to 8 digits) that switches the unit to another directory "
          "of callout commands."},
    {407, "Timer A: the first alarm timer, in minutes (1 to 249)."},
    {408, "Timer B: the second alarm timer, in minutes (0 to 249). 0 means alarms are acknowledged "
          "automatically."},
    {301, "Times A: how many times (1 to 8) Timer A runs."},
    {205, "Tone: the unit dials telephone numbers with DTMF tones."},
    {206, "Pulse: the unit dials telephone numbers with pulses, for old exchanges."},
    {207, "Busy Low (gnd): the radio's squelch output is grounded while the channel is busy."},
    {208, "Busy High (open): the radio's squelch output is open while the channel is busy."},
    {313, "Radio Warning: the unit announces on the radio when it is busy on the phone line."},
    {310, "Use Acknowledge Request: the unit asks the called party to key the Acknowledge Code."},
    {312, "Use Call Progress: after dialling, the unit listens to the line for ringing, busy and the "
          "called party answering, and carries on with the directory only once someone has answered. "
          "The ANSWER command of a directory line also waits for the called party to respond, so an "
          "ANSWER straight after a Dial command asks for the same response twice: either leave Call "
          "Progress off, or remove the ANSWER command that follows the Dial command."},
    {311, "Use Recorded Site ID: the unit plays the recorded site message to identify itself."},
    {303, "Rings Before Answer: how many rings (1 to 8) before the unit answers an incoming call; Never "
          "leaves calls unanswered; Auto Ack acknowledges automatically."},
    {405, "Default Timer: the timer value in minutes (1 to 4095) used when a user gives none."},
    {701, "Modbus Settings: the unit's Modbus address and baud rate. They are stored with the other "
          "settings when you press OK here."},
}};

inline constexpr std::array<WhatsThisText, 2> kModbusWhatsThis = {{
    {401, "Address: the unit's Modbus address, 1 to 255."},
    {301, "Baud rate: the speed of the unit's Modbus line."},
}};

} // namespace veskar
