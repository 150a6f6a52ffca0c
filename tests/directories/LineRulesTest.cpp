#include "directories/LineRules.h"

#include <gtest/gtest.h>

#include <deque>
#include <vector>

namespace veskar {
namespace {

struct Row {
    const char* label;
    const char* value = nullptr; // nullptr: the command's default
};

Editline Rows(std::initializer_list<Row> rows)
{
    Editline line;
    std::size_t i = 0;
    for (const Row& row : rows) {
        line.rows[i].label = row.label;
        if (row.value) {
            line.rows[i].value = row.value;
        } else {
            for (const LineCommandInfo& info : kCommands) {
                if (info.label == row.label)
                    line.rows[i].value = std::string(info.defaultValue);
            }
        }
        ++i;
    }
    return line;
}

using enum LineCommand;

TEST(LineInsertion, EveryRuleInItsOrder)
{
    constexpr Insertion R = Insertion::Refused, A = Insertion::Allowed, N = Insertion::NothingToDo;
    const struct {
        std::initializer_list<Row> rows;
        int row;
        LineCommand command;
        bool callProgress;
        Insertion outcome;
        const char* text;
    } cases[] = {
        // shared rules
        {{{" [AUTO ACK]"}},
         1,
         Dial,
         false,
         R,
         "The Auto Ack command must be the only entry on a directory line."},
        {{{" [AUTO ACK]"}},
         0,
         Radio,
         false,
         R,
         "The Auto Ack command must be the only entry on a directory line."},
        {{{" [RADIO]"}, {" [AUTO ACK]"}},
         0,
         TwoTone,
         false,
         R,
         "Auto Ack command cannot have commands before it on the same directory line."},
        {{{" [WAIT]"}}, 1, Dial, false, R, "If Wait is the first entry no other commands can follow."},
        {{{" [WAIT]"}}, 1, Voice, false, R, "If Wait is the first entry no other commands can follow."},
        // DIAL
        {{}, 0, Dial, false, A, ""},
        {{{" [RADIO]"}}, 1, Dial, false, R, "Dial command must be first in the list."},
        {{{" [DIAL]"}}, 0, Dial, false, N, ""},
        {{{" [RADIO]"}},
         0,
         Dial,
         false,
         R,
         "There is a Radio command at the first location, a Dial command cannot be inserted in front of it."},
        {{{" [PATCH]"}},
         0,
         Dial,
         false,
         R,
         "There is a Patch command at the first location, a Dial command cannot be inserted in front of it."},
        {{{" [WAIT]"}}, 0, Dial, false, A, ""},
        // RADIO
        {{}, 0, Radio, false, A, ""},
        {{{" [DIAL]"}}, 1, Radio, false, R, "The Radio command must be first in the list."},
        {{{" [RADIO]"}}, 0, Radio, false, N, ""},
        {{{" [DIAL]"}},
         0,
         Radio,
         false,
         R,
         "There is a Dial command at the first location, a Radio command cannot be inserted in front of it."},
        {{{" [PATCH]"}},
         0,
         Radio,
         false,
         R,
         "There is a Patch command at the first location, a Radio command cannot be inserted in front of "
         "it."},
        // WAIT
        {{}, 0, Wait, false, A, ""},
        {{{" [DIAL]"}},
         0,
         Wait,
         false,
         R,
         "If Wait is the first command, it cannot have more commands after it."},
        {{{" [WAIT]"}}, 1, Wait, false, A, ""},
        {{{" [DIAL]"}, {" [VOICE]"}}, 1, Wait, false, A, ""},
        // VOICE
        {{}, 0, Voice, false, R, "Voice cannot be the first command - use Dial or Radio."},
        {{{" [DIAL]"}, {" [TAP]"}}, 2, Voice, false, R, "Voice cannot be used with the TAP paging command."},
        {{{" [DIAL]"}}, 1, Voice, false, A, ""},
        // DTMF
        {{{" [DIAL]"}, {" [TAP]"}}, 1, Dtmf, false, R, "DTMF cannot be used with the TAP paging command."},
        {{}, 0, Dtmf, false, R, "DTMF cannot be the first command - possibly Dial or Radio first?"},
        {{{" [PATCH]"}}, 1, Dtmf, false, A, ""},
        // ANSWER
        {{}, 0, Answer, false, R, "Answer cannot be the first command - Dial first."},
        {{{" [RADIO]"}}, 1, Answer, false, R, "The Answer command can only be used after dialing."},
        {{{" [DIAL]"}}, 1, Answer, false, A, ""},
        {{{" [DIAL]"}},
         1,
         Answer,
         true,
         A,
         "Call Progress is enabled in the General section.\nUsing Call Progress and ANSWER immediately after "
         "a "
         "Dial command duplicates the requirement for a response by the called party.\nUse the What's This "
         "help for the ANSWER command to get a full explanation."},
        {{{" [DIAL]"}, {" [VOICE]"}}, 2, Answer, true, A, ""},
        {{{" [RADIO]"}}, 1, Answer, true, R, "The Answer command can only be used after dialing."},
        // ALERT
        {{}, 0, Alert, false, R, "Alert cannot be the first command - use Dial or Radio?"},
        {{{" [DIAL]"}, {" [TAP]"}}, 2, Alert, false, R, "Alert cannot be used with the TAP paging command."},
        // tones
        {{}, 0, TwoTone, false, R, "2 Tone cannot be the first command - Radio first."},
        {{{" [DIAL]"}}, 1, TwoTone, false, R, "2 Tone cannot be used after a Dial command."},
        {{{" [RADIO]"}}, 1, TwoTone, false, A, ""},
        {{}, 0, FiveTone, false, R, "5 Tone cannot be the first command - Radio first."},
        {{{" [DIAL]"}}, 1, FiveTone, false, R, "5 Tone cannot be used with a Dial command."},
        {{}, 0, SingleTone, false, R, "Single Tone cannot be the first command - Radio or Dial first."},
        {{{" [DIAL]"}}, 1, SingleTone, false, A, ""},
        // the commands without a button
        {{{" [DIAL]"}, {" [VOICE]"}},
         0,
         AutoAck,
         false,
         R,
         "Auto Ack command cannot have commands preceeding on the same directory line."},
        {{{" [DIAL]"}},
         1,
         AutoAck,
         false,
         R,
         "Auto Ack command must be the first and only command on a directory line."},
        {{}, 0, AutoAck, false, A, ""},
        {{{" [DIAL]"}, {" [TAP]"}},
         1,
         Signal,
         false,
         R,
         "Signal cannot be used with the TAP paging command."},
        {{}, 0, Signal, false, R, "Signal cannot be the first command - possibly Dial or Radio first?"},
        {{{" [DIAL]"}}, 1, Patch, false, R, "The Patch command must be first in the list."},
        {{{" [PATCH]"}}, 0, Patch, false, N, ""},
        {{{" [DIAL]"}},
         0,
         Patch,
         false,
         R,
         "There is a Dial command at the first location, a Patch command cannot be inserted in front of it."},
        {{{" [RADIO]"}},
         0,
         Patch,
         false,
         R,
         "There is a Radio command at the first location, a Patch command cannot be inserted in front of "
         "it."},
        {{{" [DIAL]"}, {" [TAP]"}},
         2,
         VoiceMinus,
         false,
         R,
         "Voice- cannot be used with the TAP paging command."},
        {{}, 0, VoiceMinus, false, R, "Voice- cannot be the first command - Dial, Radio or Patch first."},
        {{{" [DIAL]"}, {" [TAP]"}},
         2,
         VoicePlus,
         false,
         R,
         "Voice+ cannot be used with the TAP paging command."},
        {{}, 0, VoicePlus, false, R, "Voice+ cannot be the first command - Dial, Radio or Patch first."},
        {{{" [PATCH]"}}, 1, VoicePlus, false, A, ""},
        // TAP: the first conflicting row decides
        {{{" [DIAL]"}, {" [VOICE-]"}, {" [DTMF]"}},
         3,
         Tap,
         false,
         R,
         "TAP paging cannot be used with a voice command."},
        {{{" [DIAL]"}, {" [DTMF]"}, {" [VOICE+]"}},
         3,
         Tap,
         false,
         R,
         "TAP paging cannot be used with a DTMF command."},
        {{{" [DIAL]"}, {" [SIGNAL]"}},
         2,
         Tap,
         false,
         R,
         "TAP paging cannot be used with the Signal command."},
        {{{" [DIAL]"}, {" [ALERT]"}}, 2, Tap, false, R, "TAP paging cannot be used with the Alert command."},
        {{{" [RADIO]"}}, 1, Tap, false, R, "TAP paging can only be done after a dial command - Dial first."},
        {{{" [DIAL]"}}, 0, Tap, false, R, "TAP paging cannot be the first command - Dial first."},
        {{{" [DIAL]"}}, 1, Tap, false, A, ""},
    };
    for (const auto& c : cases) {
        const InsertionVerdict verdict = CheckInsertion(Rows(c.rows), c.row, c.command, c.callProgress);
        EXPECT_EQ(verdict, (InsertionVerdict{c.outcome, c.text}))
            << "command " << static_cast<int>(c.command) << " at row " << c.row << ": " << verdict.text;
    }
}

// What the user saw and answered while the checks ran.
struct Asked {
    std::deque<bool> answers; // for the questions, in order; unscripted questions are answered No
    std::vector<std::string> shown;

    LineAsk ask()
    {
        return [this](const LineVerdict& verdict) {
            shown.push_back(verdict.text);
            if (verdict.kind != MessageKind::Question || answers.empty())
                return false;
            const bool yes = answers.front();
            answers.pop_front();
            return yes;
        };
    }
};

struct Stop {
    MessageKind kind;
    int row;
};

TEST(LineConfirmation, ChecksInOrderWithTheirRowAndTheCleanedValues)
{
    constexpr MessageKind E = MessageKind::Error, Q = MessageKind::Question;
    const struct {
        std::initializer_list<Row> rows;
        std::initializer_list<bool> answers;
        std::vector<std::string> shown;
        std::optional<Stop> stop; // nothing: confirmed; else the last message shown stopped the checks
        std::vector<std::string> cleaned{}; // confirmed values, row by row
    } cases[] = {
        // DIAL first
        {{{" [DIAL]", "123"}}, {}, {"Dial command must be followed by an action."}, Stop{E, kNoRow}},
        {{{" [DIAL]", "!"}, {" [VOICE]"}}, {}, {"Dial command cannot be a single '!' delay."}, Stop{E, 0}},
        {{{" [DIAL]", "! "}, {" [VOICE]"}}, {}, {"Dial command cannot be a single '!' delay."}, Stop{E, 0}},
        {{{" [DIAL]", "0000"}, {" [VOICE]"}},
         {true},
         {"The DIAL command requires a telephone number - Enter it now?"},
         Stop{Q, 0}},
        {{{" [DIAL]", "0000"}, {" [VOICE]"}},
         {false},
         {"The DIAL command requires a telephone number - Enter it now?"},
         std::nullopt,
         {"0000", ""}},
        {{{" [DIAL]", ""}, {" [VOICE]"}},
         {true},
         {"The DIAL command has no digits - Do you want to change it?"},
         Stop{Q, 0}},
        {{{" [DIAL]", "0000 "}, {" [VOICE]"}}, {}, {}, std::nullopt, {"0000", ""}}, // no longer the default
        {{{" [DIAL]", "12A4"}, {" [VOICE]"}},
         {},
         {"Invalid digit found in the DIAL command, Use 0-9, #, or *."},
         Stop{E, 0}},
        {{{" [DIAL]", "01 234-567"}, {" [ANSWER]"}, {" [VOICE]"}},
         {},
         {},
         std::nullopt,
         {"01234567", "", ""}},
        // RADIO first
        {{{" [RADIO]"}}, {}, {"Radio command must be followed by an action."}, Stop{E, kNoRow}},
        // 2 TONE
        {{{" [RADIO]"}, {" [2 TONE]", "99.9/567.8"}},
         {},
         {"2 Tone - Invalid tone A, Allowed range is between 100 and 2500 Hz."},
         Stop{E, 1}},
        {{{" [RADIO]"}, {" [2 TONE]", "1000/567.8"}},
         {},
         {"2 Tone - Invalid tone A, Use the format XXX.X for the frequency."},
         Stop{E, 1}},
        {{{" [RADIO]"}, {" [2 TONE]", "1000.0"}},
         {},
         {"2 Tone - Invalid tone B, Use the format XXX.X for the frequency."},
         Stop{E, 1}},
        {{{" [RADIO]"}, {" [2 TONE]", "300.0/2500.1"}},
         {},
         {"2 Tone - Invalid tone B, Allowed range is between 100 and 2500 Hz."},
         Stop{E, 1}},
        {{{" [RADIO]"}, {" [2 TONE]", "100.0/2500.0"}}, {}, {}, std::nullopt, {"", "100.0/2500.0"}},
        {{{" [RADIO]"}, {" [VOICE]"}, {" [2 TONE]"}},
         {true},
         {"The 2 Tone command still has default values - Do you want to change it?"},
         Stop{Q, 2}},
        // 5 TONE
        {{{" [RADIO]"}, {" [5 TONE]", ".12345u"}}, {}, {}, std::nullopt, {"", ".12345U"}},
        {{{" [RADIO]"}, {" [5 TONE]", "7.12345"}}, {}, {}, std::nullopt, {"", "7.12345"}},
        {{{" [RADIO]"}, {" [5 TONE]", ".1234"}},
         {},
         {"5 Tone - Invalid format, Use the formats .XXXXX (no preamble) or W.XXXXX (preamble) for the "
          "code."},
         Stop{E, 1}},
        {{{" [RADIO]"}, {" [5 TONE]", ".123456"}},
         {},
         {"5 Tone - Invalid format, Use the formats .XXXXX (no preamble) or W.XXXXX (preamble) for the "
          "code."},
         Stop{E, 1}},
        {{{" [RADIO]"}, {" [5 TONE]", "x.12345"}},
         {},
         {"5 Tone - Invalid format, Use the formats .XXXXX (no preamble) or W.XXXXX (preamble) for the "
          "code."},
         Stop{E, 1}},
        {{{" [RADIO]"}, {" [5 TONE]"}},
         {true},
         {"The 5 Tone command still has default values - Do you want to change it?"},
         Stop{Q, 1}},
        // 1 TONE
        {{{" [RADIO]"}, {" [1 TONE]", "099.9"}},
         {},
         {"Single Tone - Frequency cannot be less than 100.0 Hz."},
         Stop{E, 1}},
        {{{" [RADIO]"}, {" [1 TONE]", "0099.9"}},
         {},
         {"Single Tone - Frequency cannot be less than 100.0 Hz."},
         Stop{E, 1}},
        {{{" [RADIO]"}, {" [1 TONE]", "2000.0"}},
         {},
         {"Single Tone - Frequency cannot be greater than 1999.9 Hz."},
         Stop{E, 1}},
        {{{" [RADIO]"}, {" [1 TONE]", "1999.9"}}, {}, {}, std::nullopt, {"", "1999.9"}},
        {{{" [RADIO]"}, {" [1 TONE]", "100.0"}}, {}, {}, std::nullopt, {"", "100.0"}},
        {{{" [RADIO]"}, {" [1 TONE]", "100.00"}},
         {},
         {"Single Tone - Invalid format, Use the formats XXXX.X or XXX.X for the code."},
         Stop{E, 1}},
        {{{" [RADIO]"}, {" [1 TONE]", "1x00.0"}},
         {},
         {"Single Tone - Invalid format, Use only numbers for the tone frequency."},
         Stop{E, 1}},
        {{{" [RADIO]"}, {" [1 TONE]", "1500"}},
         {},
         {"Single Tone - Invalid format, Use the formats XXXX.X or XXX.X for the code."},
         Stop{E, 1}},
        {{{" [RADIO]"}, {" [1 TONE]"}},
         {true},
         {"The Single Tone command still has default values - Do you want to change it?"},
         Stop{Q, 1}},
        // DTMF
        {{{" [RADIO]"}, {" [DTMF]", "!"}}, {}, {"Dial command cannot be a single '!' delay."}, Stop{E, 1}},
        {{{" [RADIO]"}, {" [DTMF]"}},
         {true},
         {"The DTMF command still has default values - Do you want to change it?"},
         Stop{Q, 1}},
        {{{" [RADIO]"}, {" [DTMF]", ""}},
         {true},
         {"The DTMF command has no digits - Do you want to change it?"},
         Stop{Q, 1}},
        {{{" [RADIO]"}, {" [DTMF]", "12e"}},
         {},
         {"Invalid DTMF digit found, Use 0-9, #, *, A, B, C, or D."},
         Stop{E, 1}},
        {{{" [RADIO]"}, {" [DTMF]", "1a#"}}, {}, {}, std::nullopt, {"", "1A#"}},
        // TAP
        {{{" [DIAL]", "1"}, {" [TAP]"}},
         {true},
         {"The TAP paging command has the default code - Enter it now?"},
         Stop{Q, 1}},
        {{{" [DIAL]", "1"}, {" [TAP]", ""}},
         {true},
         {"The TAP paging command has no code - Do you want to change it?"},
         Stop{Q, 1}},
        {{{" [DIAL]", "1"}, {" [TAP]", "12#"}},
         {},
         {"Invalid digit found in the TAP paging command, Use 0-9."},
         Stop{E, 1}},
        // PATCH
        {{{" [PATCH]", "12x"}, {" [DTMF]", "1"}},
         {},
         {"Invalid digit found in the Patch command, Use 0-9, #, or *."},
         Stop{E, 0}},
        {{{" [PATCH]", "12"}, {" [DTMF]", "1"}, {" [WAIT]", "010"}},
         {},
         {"Patch sequence must end with a DTMF hangup code."},
         Stop{E, kNoRow}},
        {{{" [PATCH]", "12"}, {" [VOICE]"}},
         {},
         {"Patch sequence must end with a DTMF hangup code."},
         Stop{E, kNoRow}},
        {{{" [PATCH]", "1-2"}, {" [WAIT]", "010"}, {" [DTMF]", "#d"}},
         {},
         {},
         std::nullopt,
         {"12", "010", "#D"}},
        {{{" [PATCH]"}, {" [DTMF]", "1"}},
         {true},
         {"The Patch command requires a telephone number - Enter it now?"},
         Stop{Q, 0}},
        {{{" [PATCH]", ""}, {" [DTMF]", "1"}},
         {true},
         {"The Patch command has no digits - Do you want to change it?"},
         Stop{Q, 0}},
        // WAIT
        {{{" [WAIT]", "254"}}, {}, {}, std::nullopt, {"254"}},
        {{{" [WAIT]", "255"}}, {}, {"The WAIT interval is too long, it must be less than 255."}, Stop{E, 0}},
        {{{" [WAIT]", "000"}},
         {true},
         {"The WAIT command still has default values - Do you want to change it?"},
         Stop{Q, 0}},
        {{{" [WAIT]", ""}}, {true}, {"The WAIT command has no time - Do you want to change it?"}, Stop{Q, 0}},
        {{{" [DIAL]", "1"}, {" [WAIT]", "1 2"}},
         {},
         {"Invalid digit found in the WAIT command, use 0-9 only."},
         Stop{E, 1}},
        // questions answered No go on to the next check
        {{{" [DIAL]", "0000"}, {" [DTMF]"}, {" [WAIT]", "300"}},
         {false, false},
         {"The DIAL command requires a telephone number - Enter it now?",
          "The DTMF command still has default values - Do you want to change it?",
          "The WAIT interval is too long, it must be less than 255."},
         Stop{E, 2}},
    };
    for (const auto& c : cases) {
        Editline line = Rows(c.rows);
        const Editline before = line;
        Asked asked{c.answers, {}};
        const CheckResult<int> stop = ConfirmLine(line, asked.ask());
        const std::string name = before.rows[0].label + " " + before.rows[0].value + " / " +
                                 before.rows[1].label + " " + before.rows[1].value;
        const CheckResult<int> expected =
            c.stop ? CheckResult<int>(LineVerdict{c.stop->kind, c.shown.back(), c.stop->row}) : std::nullopt;
        EXPECT_EQ(stop, expected) << name << (stop ? ": " + stop->text : "");
        EXPECT_EQ(asked.shown, c.shown) << name;
        if (c.stop) {
            EXPECT_EQ(line, before) << name << ": a stopped line keeps what was typed";
            continue;
        }
        for (std::size_t i = 0; i < c.cleaned.size(); ++i)
            EXPECT_EQ(line.rows[i].value, c.cleaned[i]) << name << " row " << i;
    }
}

TEST(LineConfirmation, FloatCheckForm)
{
    const struct {
        const char* text;
        bool valid;
    } cases[] = {{"123.4", true},  {".", true},      {"2500.0", true},    {"1000", false},
                 {"", false},      {"1.2.3", false}, {"12345.67", false}, {"1234.56", true},
                 {"-12.5", false}, {"12a.5", false}};
    for (const auto& c : cases)
        EXPECT_EQ(FloatCheck(c.text), c.valid) << c.text;
}

} // namespace
} // namespace veskar
