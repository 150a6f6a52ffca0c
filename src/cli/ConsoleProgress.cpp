#include "cli/ConsoleProgress.h"

#include "programming/TransferTexts.h"

#include <ostream>

namespace veskar::cli {

namespace {

constexpr int kBarWidth = 20;

// Directions to the window's user that mean nothing here.
bool IsWindowText(std::string_view text)
{
    return text == texts::kSelectFileForStorage;
}

std::string MinutesSeconds(std::chrono::milliseconds time)
{
    const long seconds = static_cast<long>(time.count() / 1000);
    const long remainder = seconds % 60;
    return std::to_string(seconds / 60) + (remainder < 10 ? ":0" : ":") + std::to_string(remainder);
}

} // namespace

ConsoleProgress::ConsoleProgress(std::ostream& err, bool terminal, Clock clock)
    : err_(err), terminal_(terminal), clock_(std::move(clock))
{
}

std::string ConsoleProgress::Bar(int done, int total, std::chrono::milliseconds elapsed,
                                 std::optional<std::chrono::milliseconds> left)
{
    if (total <= 0)
        return std::to_string(std::max(done, 0)) + "/? packets  " + MinutesSeconds(elapsed) + " elapsed";
    done = std::min(std::max(done, 0), total);
    const int filled = done * kBarWidth / total;
    std::string bar = "[" + std::string(static_cast<std::size_t>(filled), '#') +
                      std::string(static_cast<std::size_t>(kBarWidth - filled), '-') + "]  " +
                      std::to_string(done) + "/" + std::to_string(total) + " packets  " +
                      MinutesSeconds(elapsed) + " elapsed";
    if (left && done < total)
        bar += "  " + MinutesSeconds(*left) + " left";
    return bar;
}

void ConsoleProgress::Status(std::string_view text)
{
    reason_.Status(text);
    Text(text);
}

void ConsoleProgress::DialogStatus(std::string_view text)
{
    reason_.DialogStatus(text);
    Text(text);
}

void ConsoleProgress::NotStarted()
{
    Line(FinalLine(TransferResult::Failed, reason_.text()));
}

void ConsoleProgress::PacketsDone(int done, int total)
{
    if (!started_)
        started_ = clock_();
    done_ = done;
    total_ = total;
    pace_.Done(done, total, clock_().count());
    if (terminal_)
        DrawBar();
}

void ConsoleProgress::Message(std::string_view caption, MessageIcon /*icon*/, std::string_view text)
{
    Line(caption.empty() ? std::string(text) : std::string(caption) + ":" + std::string(text));
    reason_.Message(text);
}

void ConsoleProgress::TransferEnded(TransferResult result)
{
    ClearBar();
    result_ = result;
    Line(FinalLine(result, reason_.text()));
    if (ended_)
        ended_();
}

void ConsoleProgress::Text(std::string_view text)
{
    if (text.empty() || IsWindowText(text))
        return;
    if (terminal_ && IsPacketText(text)) {
        packetText_ = text;
        DrawBar();
        return;
    }
    Line(text);
}

void ConsoleProgress::Line(std::string_view text)
{
    // The Status line and the dialog's status line often say the same thing.
    if (text == lastLine_)
        return;
    lastLine_ = text;
    ClearBar();
    err_ << text << '\n';
    if (terminal_ && started_)
        DrawBar();
    err_.flush();
}

void ConsoleProgress::DrawBar()
{
    if (!started_)
        return;
    const auto elapsed = clock_() - *started_;
    const std::optional<std::int64_t> left = pace_.LeftMs();
    err_ << "\r\033[K"
         << Bar(done_, total_, elapsed,
                left ? std::optional(std::chrono::milliseconds(*left)) : std::nullopt);
    if (!packetText_.empty())
        err_ << "  " << packetText_;
    err_.flush();
    barShown_ = true;
}

void ConsoleProgress::ClearBar()
{
    if (!barShown_)
        return;
    err_ << "\r\033[K";
    barShown_ = false;
}

} // namespace veskar::cli
