#pragma once

// How veskar-cli shows a running transfer on stderr: every text of the
// transfer as a line, as it happens; on a terminal the per-packet texts go
// into a progress bar that is redrawn in place instead of scrolling.

#include "programming/PacketPace.h"
#include "programming/TransferOutcome.h"
#include "programming/TransferObserver.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>

namespace veskar::cli {

class ConsoleProgress final : public TransferObserver {
  public:
    using Clock = std::function<std::chrono::milliseconds()>;

    ConsoleProgress(std::ostream& err, bool terminal, Clock clock);

    void Activity(std::string_view text) override { Text(text); }
    void Status(std::string_view text) override;
    void DialogStatus(std::string_view text) override;
    void PacketsDone(int done, int total) override;
    void Message(std::string_view caption, MessageIcon icon, std::string_view text) override;
    [[nodiscard]] std::optional<std::filesystem::path> ChooseVoiceSaveFile() override { return voiceFile_; }
    void ConfigurationDelivered(const Image& sent) override
    {
        if (delivered_)
            delivered_(sent);
    }
    void TransferEnded(TransferResult result) override;
    // A transfer refused before it began ends with its final line too.
    void NotStarted();

    void setVoiceFile(std::filesystem::path file) { voiceFile_ = std::move(file); }
    void setEnded(std::function<void()> ended) { ended_ = std::move(ended); }
    void setDelivered(std::function<void(const Image&)> delivered) { delivered_ = std::move(delivered); }
    // A line of the program's own, between the transfer's.
    void Note(std::string_view text) { Line(text); }
    [[nodiscard]] std::optional<TransferResult> result() const { return result_; }

    // "[#########-----------]  3/64 packets  0:12 elapsed  0:28 left"; "3/? packets  0:12 elapsed"
    // while the total is not known (0).
    [[nodiscard]] static std::string Bar(int done, int total, std::chrono::milliseconds elapsed,
                                         std::optional<std::chrono::milliseconds> left);

  private:
    void Text(std::string_view text);
    void Line(std::string_view text);
    void DrawBar();
    void ClearBar();

    std::ostream& err_;
    bool terminal_;
    Clock clock_;
    std::optional<std::chrono::milliseconds> started_;
    int done_ = 0;
    int total_ = 0;
    PacketPace pace_;
    bool barShown_ = false;
    std::string packetText_;
    std::string lastLine_;
    FailureReason reason_;
    std::optional<std::filesystem::path> voiceFile_;
    std::function<void()> ended_;
    std::function<void(const Image&)> delivered_;
    std::optional<TransferResult> result_;
};

} // namespace veskar::cli
