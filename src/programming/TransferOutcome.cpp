#include "programming/TransferOutcome.h"

#include "programming/TransferTexts.h"

#include <array>

namespace veskar {

namespace {

std::string_view Trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

} // namespace

bool IsPacketText(std::string_view text)
{
    constexpr std::array prefixes = {texts::kTransmittingPacket, texts::kWaitingForPacket,
                                     texts::kReceivingPacket, texts::kReceivedPacket};
    for (std::string_view prefix : prefixes)
        if (text.starts_with(prefix))
            return true;
    return false;
}

void FailureReason::Status(std::string_view text)
{
    if (!text.empty() && text != texts::kSuccess && !IsPacketText(text))
        reason_ = text;
}

void FailureReason::DialogStatus(std::string_view text)
{
    if (!text.empty())
        reason_ = text;
}

void FailureReason::Message(std::string_view text)
{
    reason_ = text.substr(0, text.find('\n'));
}

std::string FinalLine(TransferResult result, std::string_view reason)
{
    switch (result) {
    case TransferResult::Succeeded: return "Transfer succeeded.";
    case TransferResult::Cancelled: return "Transfer stopped: the voices read were not kept.";
    case TransferResult::Stopped: return reason.empty() ? std::string(texts::kTransferStopped) : std::string(reason);
    case TransferResult::Failed: break;
    }
    reason = Trimmed(reason);
    if (reason.empty())
        return "Transfer failed.";
    // "Transfer failed at packet number 1" says it already.
    const std::string line = reason.starts_with("Transfer failed") ? std::string(reason)
                                                                    : "Transfer failed: " + std::string(reason);
    return line.ends_with('.') ? line : line + ".";
}

} // namespace veskar
