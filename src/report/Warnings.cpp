#include "report/Warnings.h"

#include "database/Codes.h"
#include "directories/CommandTable.h"
#include "report/Paging.h"

#include <algorithm>
#include <array>
#include <span>

namespace veskar {

namespace {

using namespace warning_text;

constexpr std::string_view kDefaultValue = "0000";
constexpr std::size_t kShortestNumber = 7;

// The meaningful bytes of a block: up to its closing 0 (bytes after it are stale).
std::span<const Byte> Content(const DirectoryBlock& block)
{
    const auto end = std::ranges::find(block, kDirectoryEnd);
    return {block.begin(), end};
}

char Letter(std::size_t directory)
{
    return static_cast<char>('A' + directory);
}

bool LineStartsWith(const DirectoryBlock& block, Byte opcode)
{
    const auto bytes = Content(block);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == opcode && (i == 0 || bytes[i - 1] == kLineEnd))
            return true;
    }
    return false;
}

// The bytes that end a Dial's search for an ANSWER right after it.
bool EndsDialSearch(Byte byte)
{
    static constexpr std::string_view kEnders = "&FGHLNPQRSTUVWXZ";
    return kEnders.find(static_cast<char>(byte)) != std::string_view::npos;
}

// A Dial command followed by ANSWER with only its number between.
bool AnswerRightAfterDial(const DirectoryBlock& block)
{
    const auto bytes = Content(block);
    std::size_t i = 0;
    while (i < bytes.size()) {
        if (bytes[i] != kOpDial) {
            ++i;
            continue;
        }
        ++i;
        while (i < bytes.size() && !EndsDialSearch(bytes[i])) {
            if (bytes[i] == kOpAnswer)
                return true;
            ++i;
        }
        // The byte that ended the search is looked at again: it may be the next Dial.
    }
    return false;
}

std::string DirectoryList(const std::vector<char>& letters)
{
    if (letters.size() == 1)
        return "Directory " + std::string(1, letters.front());
    std::string list = "Directories ";
    for (std::size_t i = 0; i < letters.size(); ++i) {
        if (i > 0)
            list += i + 1 == letters.size() ? " and " : ", ";
        list.push_back(letters[i]);
    }
    return list + ".";
}

struct ValueRule {
    Byte opcode;
    bool symbols;                  // stored characters, compared as DTMF symbols
    std::string_view defaultValue; // a second default: the one the line editor inserts
    std::string_view isDefault;
    std::string_view isEmpty;
    std::string_view isShort; // empty: no length rule
};

constexpr std::array<ValueRule, 3> kValueRules = {{
    {kOpDial, true, "0000", kDialDefault, kDialEmpty, kDialShort},
    {kOpDtmf, true, "0000", kDtmfDefault, kDtmfEmpty, ""},
    {kOpWait, false, "000", kWaitDefault, kWaitEmpty, ""},
}};

std::string_view ValueWarning(const ValueRule& rule, std::string value)
{
    if (rule.symbols)
        DTMF2ASCII(value);
    if (value == kDefaultValue || value == rule.defaultValue)
        return rule.isDefault;
    if (value.empty())
        return rule.isEmpty;
    if (!rule.isShort.empty() && value.size() < kShortestNumber)
        return rule.isShort;
    return {};
}

class WarningList {
  public:
    explicit WarningList(const Image& image) : m_image(image) {}

    std::vector<WarningItem> Build()
    {
        const SystemBlock& gen = m_image.gen;
        if (!AnyPhoneNumber(m_image))
            Add(kNoPhoneNumbers, kRadioCallsOnly);
        if (gen.ackCode.length == 0)
            Add(kNoAckCode);
        if (gen.accessCode.length == 0)
            Add(kNoAccessCode, kDialInOpen);
        CodeClashes();
        UserOptions();
        if (gen.statusCode.length == 0 && std::ranges::any_of(m_image.dir, [](const DirectoryBlock& block) {
                return block[0] == kOpRadio;
            }))
            Add(kNoInterrogateCode, kPublicAddress);
        if (gen.timerB.value == 0)
            Add(kTimerBZero, kPublicAddress);
        if (gen.useCallProgress)
            CallProgress();
        if (gen.siteName[0] == 0 || gen.siteName[0] == ' ')
            Add(kNoSiteName);
        Separator(kSeparator);
        Directories();
        Separator(kClosingSeparator);
        return std::move(m_items);
    }

  private:
    template <typename... Texts> void Add(const Texts&... texts)
    {
        m_items.push_back(WarningItem{false, {std::string(texts)...}});
    }

    // Two separator lines when the group above it produced anything.
    void Separator(std::string_view line)
    {
        if (m_items.size() == m_groupStart)
            return;
        m_items.push_back(WarningItem{true, {std::string(line), std::string(line)}});
        m_groupStart = m_items.size();
    }

    void CodeClashes()
    {
        struct SystemCode {
            std::string_view name;
            CodeField SystemBlock::*field;
        };
        static constexpr std::array<SystemCode, 4> kSystemCodes = {{
            {"Access", &SystemBlock::accessCode},
            {"Status", &SystemBlock::statusCode},
            {"Acknowledge", &SystemBlock::ackCode},
            {"Directory Change", &SystemBlock::dirChangeCode},
        }};
        struct UserCode {
            std::string_view name;
            CodeField UserRecord::*field;
        };
        static constexpr std::array<UserCode, 4> kUserCodes = {{
            {"Start", &UserRecord::startCode},
            {"Stop", &UserRecord::stopCode},
            {"Interrogate", &UserRecord::interrogateCode},
            {"Emergency", &UserRecord::emergencyCode},
        }};
        for (const SystemCode& system : kSystemCodes) {
            for (std::size_t n = 0; n < m_image.User.size(); ++n) {
                for (const UserCode& user : kUserCodes) {
                    if (SameCode(m_image.gen.*system.field, m_image.User[n].*user.field))
                        Add(std::string(kSystemCode) + std::string(system.name) + std::string(kSameAs) +
                            std::string(user.name) + std::string(kCodeForUser) + std::to_string(n + 1) + ".");
                }
            }
        }
    }

    void UserOptions()
    {
        auto user = [](std::size_t n) { return "User " + std::to_string(n + 1); };
        for (std::size_t n = 0; n < m_image.User.size(); ++n) {
            const UserRecord& record = m_image.User[n];
            if (record.startCode.length != 0 && record.stopCode.length == 0)
                Add(user(n) + std::string(kStartWithoutStop));
        }
        for (std::size_t n = 0; n < m_image.User.size(); ++n) {
            const UserRecord& record = m_image.User[n];
            if (record.askName && !record.useVoiceName && !record.useDtmfName)
                Add(user(n) + std::string(kAskNameUnusable));
            if (record.askLocation && !record.useVoiceLocation && !record.useDtmfLocation)
                Add(user(n) + std::string(kAskLocationUnusable));
        }
    }

    void CallProgress()
    {
        std::vector<char> marked;
        for (std::size_t d = 0; d < m_image.dir.size(); ++d) {
            if (AnswerRightAfterDial(m_image.dir[d]))
                marked.push_back(Letter(d));
        }
        if (!marked.empty())
            Add(std::string(kAnswerAfterDial1), std::string(kAnswerAfterDial2),
                std::string(kAnswerAfterDial3) + DirectoryList(marked));
    }

    void Directories()
    {
        for (std::size_t d = 0; d < m_image.dir.size(); ++d) {
            const DirectoryBlock& block = m_image.dir[d];
            if (block[0] == kOpAutoAck)
                Add("Directory " + std::string(1, Letter(d)) + std::string(kAutoAckOnly));
            const auto bytes = Content(block);
            int line = 1;
            std::size_t i = 0;
            while (i < bytes.size()) {
                const Byte byte = bytes[i++];
                if (byte == kLineEnd)
                    ++line;
                const auto rule = std::ranges::find(kValueRules, byte, &ValueRule::opcode);
                if (rule == kValueRules.end())
                    continue;
                std::string value;
                while (i < bytes.size() && !CheckChar(bytes[i]))
                    value.push_back(static_cast<char>(bytes[i++]));
                if (const std::string_view text = ValueWarning(*rule, std::move(value)); !text.empty())
                    Add("Directory " + std::string(1, Letter(d)) + ", Line " + std::to_string(line) +
                        std::string(text));
            }
        }
    }

    const Image& m_image;
    std::vector<WarningItem> m_items;
    std::size_t m_groupStart = 0;
};

} // namespace

std::vector<WarningItem> WarningItems(const Image& image)
{
    return WarningList(image).Build();
}

std::vector<std::string> WarningLines(const Image& image)
{
    std::vector<std::string> lines;
    for (const WarningItem& item : WarningItems(image))
        lines.insert(lines.end(), item.lines.begin(), item.lines.end());
    return lines;
}

int WarningCount(const Image& image)
{
    return static_cast<int>(std::ranges::count(WarningItems(image), false, &WarningItem::separator));
}

bool AnyPhoneNumber(const Image& image)
{
    return std::ranges::any_of(image.dir,
                               [](const DirectoryBlock& block) { return LineStartsWith(block, kOpDial); });
}

bool CheckChar(Byte byte)
{
    return byte == kDirectoryEnd || byte == kLineEnd || IsOpcode(byte);
}

std::vector<Block> WarningBlocks(const Image& image)
{
    std::vector<Block> blocks;
    int number = 0;
    for (const std::string& line : WarningLines(image))
        blocks.push_back(Block{number++, {BodyLine{kMarginX, ShownText(line)}}, 0});
    return blocks;
}

} // namespace veskar
