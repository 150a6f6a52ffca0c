#include "directories/LineRules.h"

#include "directories/CommandTable.h"
#include "directories/LineRuleTexts.h"
#include "directories/ValueChecks.h"

#include <algorithm>
#include <charconv>

namespace veskar {

namespace {

constexpr std::string_view kAutoAck = LabelOf(kOpAutoAck);
constexpr std::string_view kWait = LabelOf(kOpWait);
constexpr std::string_view kTap = LabelOf(kOpTap);
constexpr std::string_view kDial = LabelOf(kOpDial);
constexpr std::string_view kRadio = LabelOf(kOpRadio);
constexpr std::string_view kPatch = LabelOf(kOpPatch);
constexpr std::string_view kDtmf = LabelOf(kOpDtmf);
constexpr std::string_view kTwoTone = LabelOf(kOpTwoTone);
constexpr std::string_view kFiveTone = LabelOf(kOpFiveTone);
constexpr std::string_view kOneTone = LabelOf(kOpOneTone);

constexpr int kCallProgressRow = 1;

// The message of a rule that refuses, an empty view for "nothing to do", or
// nothing when the rule lets the command pass.
std::optional<std::string_view> Applies(const InsertionRule& rule, const Editline& line, int row)
{
    switch (rule.rule) {
    case Rule::AutoAck:
        if (line.holds(0, kAutoAck))
            return kAutoAckOnlyEntry;
        if (line.holds(row + 1, kAutoAck))
            return kAutoAckNothingBefore;
        return std::nullopt;
    case Rule::Wait:
        return row > 0 && line.holds(0, kWait) ? std::optional(kWaitFirstNoOthers) : std::nullopt;
    case Rule::NotFirst: return row > 0 ? std::optional(rule.text) : std::nullopt;
    case Rule::First: return row == 0 ? std::optional(rule.text) : std::nullopt;
    case Rule::FirstTaken: return row == 0 && !line.empty() ? std::optional(rule.text) : std::nullopt;
    case Rule::SecondTaken: return !line.rows[1].label.empty() ? std::optional(rule.text) : std::nullopt;
    case Rule::FirstHolds: return line.holds(0, rule.label) ? std::optional(rule.text) : std::nullopt;
    case Rule::FirstLacks: return !line.holds(0, rule.label) ? std::optional(rule.text) : std::nullopt;
    case Rule::TapPresent: return TAPCheck(line) ? std::optional(rule.text) : std::nullopt;
    case Rule::TapConflicts:
        for (const EditRow& each : line.rows) {
            const auto* conflict = std::ranges::find(kTapConflicts, each.label, &InsertionRule::label);
            if (conflict != kTapConflicts.end())
                return conflict->text;
        }
        return std::nullopt;
    case Rule::CallProgress: return std::nullopt; // only informs; handled by the caller
    }
    return std::nullopt;
}

bool AllDigits(std::string_view text)
{
    return std::ranges::all_of(text, [](char c) { return c >= '0' && c <= '9'; });
}

int NumberOf(std::string_view digits)
{
    int value = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return value;
}

// A FloatCheck text as a number; "." alone is 0.
double DecimalOf(std::string_view text)
{
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

// Shows the verdicts and tells whether the checks stop.
class Checker {
  public:
    explicit Checker(const LineAsk& ask) : m_ask(ask) {}

    bool Error(std::string_view text, int row)
    {
        m_stop = LineVerdict{MessageKind::Error, std::string(text), row};
        m_ask(*m_stop);
        return true;
    }
    bool Question(std::string_view text, int row)
    {
        const LineVerdict verdict{MessageKind::Question, std::string(text), row};
        if (!m_ask(verdict))
            return false;
        m_stop = verdict;
        return true;
    }
    [[nodiscard]] const CheckResult<int>& stop() const { return m_stop; }

  private:
    const LineAsk& m_ask;
    CheckResult<int> m_stop;
};

// The default and empty questions look at the number as typed: "0000 " is
// no longer the default. A lone pause is refused however it is spaced out.
bool CheckDial(Checker& check, Editline& line)
{
    std::string& value = line.rows[0].value;
    if (line.rows[1].label.empty())
        return check.Error(kDialNeedsAction, kNoRow);
    const std::string typed = value;
    const bool bad = CheckPhone(value);
    if (value == "!")
        return check.Error(kSingleDelay, 0);
    if (typed == "0000" && check.Question(kDialDefault, 0))
        return true;
    if (typed.empty() && check.Question(kDialEmpty, 0))
        return true;
    return bad && check.Error(kDialBadDigit, 0);
}

bool CheckTwoTone(Checker& check, const std::string& value, int row)
{
    const std::size_t slash = value.find('/');
    const std::string_view all(value);
    const std::string_view toneA = all.substr(0, slash);
    const std::string_view toneB = slash == std::string::npos ? std::string_view() : all.substr(slash + 1);
    if (!FloatCheck(toneA))
        return check.Error(kToneAFormat, row);
    if (!FloatCheck(toneB))
        return check.Error(kToneBFormat, row);
    const auto outside = [](double tone) { return tone < 100.0 || tone > 2500.0; };
    if (outside(DecimalOf(toneA)))
        return check.Error(kToneARange, row);
    if (outside(DecimalOf(toneB)))
        return check.Error(kToneBRange, row);
    return value == "123.4/567.8" && check.Question(kTwoToneDefault, row);
}

bool CheckFiveTone(Checker& check, std::string& value, int row)
{
    bool valid = false;
    if (!value.empty() && value[0] == '.') {
        const bool suffix = value.size() >= 7 && (value[6] == 'u' || value[6] == 'U');
        valid = value.size() >= 6 && AllDigits(std::string_view(value).substr(1, 5)) &&
                value.size() == (suffix ? 7u : 6u);
        if (valid && suffix)
            value[6] = 'U';
    } else if (value.size() >= 2 && value[1] == '.') {
        valid = value.size() == 7 && AllDigits(value.substr(0, 1)) && AllDigits(value.substr(2, 5));
    }
    if (!valid)
        return check.Error(kFiveToneFormat, row);
    return value == ".54321" && check.Question(kFiveToneDefault, row);
}

bool CheckOneTone(Checker& check, const std::string& value, int row)
{
    const std::string_view all(value);
    for (const std::size_t digits : {std::size_t{3}, std::size_t{4}}) {
        if (all.size() <= digits || all[digits] != '.')
            continue;
        if (all.size() != digits + 2)
            return check.Error(kSingleToneFormat, row);
        if (!AllDigits(all.substr(0, digits)) || !AllDigits(all.substr(digits + 1)))
            return check.Error(kSingleToneNumbers, row);
        const int whole = NumberOf(all.substr(0, digits));
        if (whole > 1999)
            return check.Error(kSingleToneHigh, row);
        if (whole < 100)
            return check.Error(kSingleToneLow, row);
        return value == "1234.5" && check.Question(kSingleToneDefault, row);
    }
    return check.Error(kSingleToneFormat, row);
}

bool CheckDtmfRow(Checker& check, std::string& value, int row)
{
    if (value == "!")
        return check.Error(kSingleDelay, row);
    if (value == "0000" && check.Question(kDtmfDefault, row))
        return true;
    if (value.empty() && check.Question(kDtmfEmpty, row))
        return true;
    return CheckDTMF(value) && check.Error(kDtmfBadDigit, row);
}

bool CheckTapRow(Checker& check, const std::string& value, int row)
{
    if (value == "0000" && check.Question(kTapDefault, row))
        return true;
    if (value.empty() && check.Question(kTapEmpty, row))
        return true;
    return CheckNumber(value) && check.Error(kTapBadDigit, row);
}

bool CheckPatch(Checker& check, Editline& line)
{
    std::string& value = line.rows[0].value;
    if (CheckPhone(value))
        return check.Error(kPatchBadDigit, 0);
    int lastDtmf = kNoRow;
    for (int row = 1; row < kMaxCommandsPerLine; ++row) {
        if (line.holds(row, kDtmf))
            lastDtmf = row;
    }
    const bool hangsUp =
        lastDtmf != kNoRow && (lastDtmf + 1 == kMaxCommandsPerLine ||
                               line.rows[static_cast<std::size_t>(lastDtmf) + 1].label.empty());
    if (!hangsUp)
        return check.Error(kPatchNoHangup, kNoRow);
    if (value == "0000" && check.Question(kPatchDefault, 0))
        return true;
    return value.empty() && check.Question(kPatchEmpty, 0);
}

bool CheckWaitRow(Checker& check, const std::string& value, int row)
{
    if (value == "000" && check.Question(kWaitDefault, row))
        return true;
    if (value.empty() && check.Question(kWaitEmpty, row))
        return true;
    if (CheckNumber(value))
        return check.Error(kWaitBadDigit, row);
    return NumberOf(value) >= 255 && check.Error(kWaitTooLong, row);
}

// Runs `check` on every row holding `label`, until one stops.
template <typename Check> bool EachRow(Editline& line, std::string_view label, Check check)
{
    for (int row = 0; row < kMaxCommandsPerLine; ++row) {
        if (line.holds(row, label) && check(line.rows[static_cast<std::size_t>(row)].value, row))
            return true;
    }
    return false;
}

} // namespace

bool TAPCheck(const Editline& line)
{
    return std::ranges::any_of(line.rows, [](const EditRow& row) { return row.label == kTap; });
}

bool FloatCheck(std::string_view text)
{
    return !text.empty() && text.size() <= 7 && std::ranges::count(text, '.') == 1 &&
           std::ranges::all_of(text, [](char c) { return c == '.' || (c >= '0' && c <= '9'); });
}

InsertionVerdict CheckInsertion(const Editline& line, int row, LineCommand command, bool useCallProgress)
{
    for (const InsertionRule& rule : kInsertionRules[static_cast<std::size_t>(command)]) {
        if (rule.rule == Rule::CallProgress && useCallProgress && row == kCallProgressRow)
            return {Insertion::Allowed, rule.text};
        if (const auto refusal = Applies(rule, line, row))
            return {refusal->empty() ? Insertion::NothingToDo : Insertion::Refused, *refusal};
    }
    return {Insertion::Allowed, {}};
}

CheckResult<int> ConfirmLine(Editline& line, const LineAsk& ask)
{
    Editline cleaned = line;
    Checker check(ask);
    const bool stopped =
        (cleaned.holds(0, kDial) && CheckDial(check, cleaned)) ||
        (cleaned.holds(0, kRadio) && cleaned.rows[1].label.empty() &&
         check.Error(kRadioNeedsAction, kNoRow)) ||
        EachRow(cleaned, kTwoTone,
                [&](std::string& value, int row) { return CheckTwoTone(check, value, row); }) ||
        EachRow(cleaned, kFiveTone,
                [&](std::string& value, int row) { return CheckFiveTone(check, value, row); }) ||
        EachRow(cleaned, kOneTone,
                [&](std::string& value, int row) { return CheckOneTone(check, value, row); }) ||
        EachRow(cleaned, kDtmf,
                [&](std::string& value, int row) { return CheckDtmfRow(check, value, row); }) ||
        EachRow(cleaned, kTap, [&](std::string& value, int row) { return CheckTapRow(check, value, row); }) ||
        (cleaned.holds(0, kPatch) && CheckPatch(check, cleaned)) ||
        EachRow(cleaned, kWait, [&](std::string& value, int row) { return CheckWaitRow(check, value, row); });
    if (stopped)
        return check.stop();
    line = std::move(cleaned);
    return std::nullopt;
}

} // namespace veskar
