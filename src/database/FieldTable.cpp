#include "database/FieldTable.h"

#include <algorithm>

namespace veskar {

namespace {

constexpr FieldSpec kUserRecordFields[] = {
    {"startCode", 0x00, 16, FieldKind::Code},
    {"stopCode", 0x10, 16, FieldKind::Code},
    {"emergencyCode", 0x20, 16, FieldKind::Code},
    {"interrogateCode", 0x30, 16, FieldKind::Code},
    {"reserved40", 0x40, 16, FieldKind::Reserved},
    {"reserved50", 0x50, 1, FieldKind::Reserved},
    {"reserved51", 0x51, 1, FieldKind::Reserved},
    {"allowTimerChange", 0x52, 1, FieldKind::Flag},
    {"speakTimerNumber", 0x53, 1, FieldKind::Flag},
    {"enableCallout", 0x54, 1, FieldKind::Flag},
    {"askEmergencyConfirm", 0x55, 1, FieldKind::Flag},
    {"useDtmfName", 0x56, 1, FieldKind::Flag},
    {"useVoiceName", 0x57, 1, FieldKind::Flag},
    {"useVoiceLocation", 0x58, 1, FieldKind::Flag},
    {"warningInterval", 0x59, 1, FieldKind::Number},
    {"askName", 0x5A, 1, FieldKind::Flag},
    {"askLocation", 0x5B, 1, FieldKind::Flag},
    {"askTimer", 0x5C, 1, FieldKind::Flag},
    {"playSettings", 0x5D, 1, FieldKind::Flag},
    {"askSettingsConfirm", 0x5E, 1, FieldKind::Flag},
    {"useDtmfLocation", 0x5F, 1, FieldKind::Flag},
    {"reserved60", 0x60, 16, FieldKind::Reserved},
    {"userName", 0x70, 16, FieldKind::Name},
};

constexpr FieldSpec kSystemBlockFields[] = {
    {"fixedCode", 0x00, 16, FieldKind::Code},
    {"accessCode", 0x10, 16, FieldKind::Code},
    {"ackCode", 0x20, 16, FieldKind::Code},
    {"ack60Code", 0x30, 16, FieldKind::Code},
    {"statusCode", 0x40, 16, FieldKind::Code},
    {"dirChangeCode", 0x50, 16, FieldKind::Code},
    {"reserved60", 0x60, 16, FieldKind::Reserved},
    {"timerA", 0x70, 4, FieldKind::Split},
    {"timerB", 0x74, 4, FieldKind::Split},
    {"split3", 0x78, 4, FieldKind::Split},
    {"split4", 0x7C, 4, FieldKind::Split},
    {"timesA", 0x80, 1, FieldKind::Number},
    {"squelchHigh", 0x81, 1, FieldKind::Number},
    {"useAckRequest", 0x82, 1, FieldKind::Flag},
    {"ringsBeforeAnswer", 0x83, 1, FieldKind::Number},
    {"pulseDial", 0x84, 1, FieldKind::Number},
    {"radioWarning", 0x85, 1, FieldKind::Flag},
    {"reserved86", 0x86, 1, FieldKind::Reserved},
    {"useRecordedSiteId", 0x87, 1, FieldKind::Flag},
    {"sendFlags", 0x88, 1, FieldKind::Number},
    {"reserved89", 0x89, 1, FieldKind::Reserved},
    {"useCallProgress", 0x8A, 1, FieldKind::Flag},
    {"reserved8b", 0x8B, 1, FieldKind::Reserved},
    {"fixed8c", 0x8C, 1, FieldKind::Number},
    {"levelTxTone", 0x8D, 1, FieldKind::Level},
    {"levelTxDtmf", 0x8E, 1, FieldKind::Level},
    {"levelTxVoice", 0x8F, 1, FieldKind::Level},
    {"levelRadioRx", 0x90, 1, FieldKind::Level},
    {"levelSpare1", 0x91, 1, FieldKind::Level},
    {"levelSpare2", 0x92, 1, FieldKind::Level},
    {"levelSpare3", 0x93, 1, FieldKind::Level},
    {"levelPhoneRx", 0x94, 1, FieldKind::Level},
    {"levelSpare4", 0x95, 1, FieldKind::Level},
    {"modbusAddress", 0x96, 1, FieldKind::Number},
    {"modbusBaud", 0x97, 1, FieldKind::Number},
    {"reserved98", 0x98, 1, FieldKind::Reserved},
    {"defaultTimer", 0x99, 2, FieldKind::Word16},
    {"reserved9b", 0x9B, 85, FieldKind::Reserved},
    {"siteName", 0xF0, 16, FieldKind::Name},
};

constexpr std::string_view kDirectoryLetters = "ABCD";

std::vector<Field> BuildImageFields()
{
    std::vector<Field> fields;
    for (int user = 0; user < kUserCount; ++user) {
        const std::string prefix = "user" + std::to_string(user + 1) + ".";
        const std::size_t base = static_cast<std::size_t>(user) * kUserRecordSize;
        for (const FieldSpec& spec : kUserRecordFields)
            fields.push_back({prefix + std::string(spec.name), base + spec.offset, spec.width, spec.kind});
    }
    constexpr std::size_t kSystemBase = kUserCount * kUserRecordSize;
    for (const FieldSpec& spec : kSystemBlockFields)
        fields.push_back({"gen." + std::string(spec.name), kSystemBase + spec.offset, spec.width, spec.kind});
    constexpr std::size_t kDirectoryBase = kSystemBase + kSystemBlockSize;
    for (int d = 0; d < kDirectoryCount; ++d) {
        fields.push_back({"dir" + std::string(1, kDirectoryLetters[static_cast<std::size_t>(d)]),
                          kDirectoryBase + static_cast<std::size_t>(d) * kDirectoryBlockSize,
                          kDirectoryBlockSize, FieldKind::Directory});
    }
    return fields;
}

}  // namespace

std::span<const FieldSpec> UserRecordFields()
{
    return kUserRecordFields;
}

std::span<const FieldSpec> SystemBlockFields()
{
    return kSystemBlockFields;
}

const std::vector<Field>& ImageFields()
{
    static const std::vector<Field> fields = BuildImageFields();
    return fields;
}

std::size_t ChangedFieldCount(const Image& before, const Image& after)
{
    return static_cast<std::size_t>(std::ranges::count_if(ImageFields(), [&](const Field& field) {
        return !std::ranges::equal(field.in(before), field.in(after));
    }));
}

}  // namespace veskar
