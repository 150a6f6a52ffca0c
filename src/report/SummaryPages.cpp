// The operator, system and directory pages.

#include "database/Codes.h"
#include "directories/CommandTable.h"
#include "levels/Levels.h"
#include "report/Paging.h"
#include "report/ReportTexts.h"

#include <algorithm>
#include <utility>

namespace veskar {

namespace {

constexpr int kOperatorX = kMarginX;
constexpr int kOperatorDetailX = kMarginX + kIndentStepX;
constexpr int kDirectoryX = kMarginX + 2 * kIndentStepX;
constexpr std::size_t kCodeColumn = 8;

// A code padded to its column, then one blank; an empty code is all blanks.
std::string CodeColumn(const CodeField& code)
{
    std::string text = ShownText(CodeToText(code));
    text.resize(std::max(text.size(), kCodeColumn), ' ');
    return text + " ";
}

// The 16 characters of a name field; a 0 byte shows as a blank.
std::string NameColumn(const NameField& name)
{
    std::string text(name.begin(), name.end());
    std::ranges::replace(text, '\0', ' ');
    return ShownText(text);
}

std::string YesNo(Byte flag)
{
    return flag ? "YES" : "NO";
}

Block OperatorBlock(const UserRecord& user, int index)
{
    Block block{index, {}, 2};
    auto add = [&block](int x, std::string text) { block.lines.push_back(BodyLine{x, std::move(text)}); };
    add(kOperatorX, "Operator " + std::to_string(index + 1) + "  Name: " + NameColumn(user.userName));
    add(kOperatorDetailX,
        "Start Code: " + CodeColumn(user.startCode) + "Emergency Code:   " + CodeColumn(user.emergencyCode));
    add(kOperatorDetailX,
        "Stop Code:  " + CodeColumn(user.stopCode) + "Interrogate Code: " + CodeColumn(user.interrogateCode));
    add(kOperatorDetailX, "Warning Timer: " + std::to_string(user.warningInterval) + " min.  ");
    add(kOperatorDetailX, "Function Settings:");
    for (const FunctionSetting& setting : kFunctionSettings)
        add(kOperatorDetailX,
            std::string(user.*setting.flag ? kFlagOn : kFlagOff) + std::string(setting.label));
    return block;
}

std::string RingsText(Byte rings)
{
    switch (rings) {
    case 0: return "Never";
    case 12: return "Automatic Acknowledge";
    default: return std::to_string(rings);
    }
}

std::string LevelText(Byte level, LevelKind kind)
{
    return CalculateLevel(level, kind == LevelKind::Transmit) + " dBm";
}

// One directory line's bytes as shown: the bracketed command names and the
// values decoded by their command's class.
class LineText {
  public:
    void Add(Byte byte)
    {
        if (IsOpcode(byte)) {
            Flush();
            // The five-tone suffix has no name of its own; it shows as stored.
            m_text += byte == kOpFiveToneSuffix ? std::string(1, static_cast<char>(byte))
                                                : std::string(ExpandCommand(byte).value_or(""));
            m_class = ValueClassOf(byte);
            return;
        }
        switch (m_class) {
        case ValueClass::Digit: m_value.push_back(StoredCharToSymbol(byte)); break;
        case ValueClass::Text: m_value.push_back(static_cast<char>(byte & 0x7F)); break;
        case ValueClass::Plain: m_value.push_back(static_cast<char>(byte)); break;
        }
    }
    // The finished line, leaving an empty one.
    std::string Take()
    {
        Flush();
        return std::exchange(m_text, {});
    }

  private:
    void Flush() { m_text += ShownText(std::exchange(m_value, {})); }

    std::string m_text;
    std::string m_value;
    ValueClass m_class = ValueClass::Plain;
};

Block DirectoryLines(const DirectoryBlock& bytes, int index)
{
    Block block{index, {}, 2};
    auto add = [&block](std::string text) { block.lines.push_back(BodyLine{kDirectoryX, std::move(text)}); };
    add("Directory " + std::string(1, static_cast<char>('A' + index)));
    add("");
    LineText line;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const Byte byte = bytes[i];
        if (byte == kLineEnd) {
            std::string text = line.Take();
            if (!text.empty())
                add(std::move(text));
            if (i + 1 < bytes.size() && bytes[i + 1] == kDirectoryEnd) {
                if (i == 0) {
                    add(std::string(kEmptyDirectory));
                    block.gapAfter = 1;
                }
                return block;
            }
            continue;
        }
        if (byte == kDirectoryEnd) {
            std::string text = line.Take();
            add(i == 0 ? std::string(kEmptyDirectory) : std::move(text));
            block.gapAfter = 1;
            return block;
        }
        line.Add(byte);
    }
    // A block without its closing 0 still shows what it holds.
    if (std::string text = line.Take(); !text.empty())
        add(std::move(text));
    return block;
}

} // namespace

std::vector<Block> OperatorBlocks(const Image& image)
{
    std::vector<Block> blocks;
    for (int i = 0; i < kUserCount; ++i)
        blocks.push_back(OperatorBlock(image.User[static_cast<std::size_t>(i)], i));
    return blocks;
}

std::vector<Block> SystemBlocks(const Image& image)
{
    const SystemBlock& gen = image.gen;
    Block block{0, {}, 0};
    auto add = [&block](std::string text) { block.lines.push_back(BodyLine{kMarginX, std::move(text)}); };
    add("Site ID: " + NameColumn(gen.siteName));
    add("Access Code: " + CodeColumn(gen.accessCode));
    add("Acknowledge Code: " + CodeColumn(gen.ackCode));
    add("Status Code: " + CodeColumn(gen.statusCode));
    add(gen.ackCode.length != 0 ? "60 Minute Acknowledge Code: " + CodeColumn(gen.ack60Code)
                                : "60 Minute Acknowledge Code: < none - no Ack Code >");
    add(gen.dirChangeCode.length != 0 ? "Change Directory Code: " + CodeColumn(gen.dirChangeCode)
                                      : "Change Directory Code: <not used>");
    add("Timer A: " + std::to_string(gen.timerA.value) + " Minutes.");
    add("Timer B: " + std::to_string(gen.timerB.value) + " Minutes.");
    add("Times A: " + std::to_string(gen.timesA));
    add("Use Acknowledge Request: " + YesNo(gen.useAckRequest));
    add("Announce when system is busy on the phone: " + YesNo(gen.radioWarning));
    add("Use Call Progress Detection: " + YesNo(gen.useCallProgress));
    add(std::string("Squelch Polarity: ") + (gen.squelchHigh ? "Busy when high" : "Busy when low"));
    add(std::string("Dial Format: ") + (gen.pulseDial ? "Rotary Dial" : "Tone Dial"));
    add("Default Timer: " + std::to_string(DefaultTimerMinutes(gen)) + " min.");
    add("Rings Before Answering: " + RingsText(gen.ringsBeforeAnswer));
    add("Radio Transmit Tone Level: " + LevelText(gen.levelTxTone, LevelKind::Transmit));
    add("Radio Transmit DTMF Level: " + LevelText(gen.levelTxDtmf, LevelKind::Transmit));
    add("Radio Transmit Voice Level: " + LevelText(gen.levelTxVoice, LevelKind::Transmit));
    add("Radio Receive Level: " + LevelText(gen.levelRadioRx, LevelKind::Receive));
    add("Phone Receive Level: " + LevelText(gen.levelPhoneRx, LevelKind::Receive));
    add("Modbus Address: " + std::to_string(gen.modbusAddress));
    add("Modbus Baud Rate: " + std::to_string(ModbusBaudRate(gen.modbusBaud)));
    return {block};
}

std::vector<Block> DirectoryBlocks(const Image& image)
{
    std::vector<Block> blocks;
    for (int i = 0; i < kDirectoryCount; ++i)
        blocks.push_back(DirectoryLines(image.dir[static_cast<std::size_t>(i)], i));
    return blocks;
}

} // namespace veskar
