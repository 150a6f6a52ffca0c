#pragma once

// How a transfer ended, in one line for the user (a second line may say more):
// the command line prints it last.

#include "programming/TransferObserver.h"

#include <string>
#include <string_view>

namespace veskar {

// Follows what a transfer says and keeps the text that tells why it failed.
class FailureReason {
  public:
    void Status(std::string_view text);
    void DialogStatus(std::string_view text);
    void Message(std::string_view text);
    [[nodiscard]] const std::string& text() const { return reason_; }

  private:
    std::string reason_;
};

// "Transfer succeeded.", "Transfer failed: Communications Failure - Check connection.", ...
[[nodiscard]] std::string FinalLine(TransferResult result, std::string_view reason);

// Texts that change with every packet.
[[nodiscard]] bool IsPacketText(std::string_view text);

} // namespace veskar
