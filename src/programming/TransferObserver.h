#pragma once

// What a running transfer tells the people watching it. The Programming
// dialog shows it in windows, veskar-cli on stderr, tests record it.

#include "database/Image.h"

#include <filesystem>
#include <optional>
#include <string_view>

namespace veskar {

enum class MessageIcon { None, Stop, Exclamation };

enum class TransferResult {
    Succeeded,
    Failed,    // the line, the unit or a file let the transfer down
    Cancelled, // voices read but the user chose not to keep them
    Stopped,   // the user stopped it before it was complete
};

class TransferObserver {
  public:
    virtual ~TransferObserver() = default;

    // The progress window, with its Activity and Status lines.
    virtual void ProgressShown(bool /*shown*/) {}
    virtual void Activity(std::string_view /*text*/) {}
    virtual void Status(std::string_view /*text*/) {}
    // The status line of the Programming dialog: final results and failures.
    virtual void DialogStatus(std::string_view /*text*/) {}
    // `total` is 0 while it is not known (a voice read, until the unit says there is no more).
    virtual void PacketsDone(int /*done*/, int /*total*/) {}

    // A message box with an OK button.
    virtual void Message(std::string_view /*caption*/, MessageIcon /*icon*/, std::string_view /*text*/) {}

    // Where to keep voices just read; nullopt when the user cancels.
    [[nodiscard]] virtual std::optional<std::filesystem::path> ChooseVoiceSaveFile() { return std::nullopt; }

    // The image now holds the unit's configuration (the main window swaps its menu).
    virtual void ConfigurationRead() {}

    // The configuration write's data packet has left for the unit: `sent` is
    // exactly what it carries (the image as prepared for sending).
    virtual void ConfigurationDelivered(const Image& /*sent*/) {}

    // Once for every transfer whose Start call returned true. The next transfer
    // may be started from here; the engine must not be destroyed here.
    virtual void TransferEnded(TransferResult /*result*/) {}
};

} // namespace veskar
