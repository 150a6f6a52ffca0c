#include "programming/unit/SimulatedUnit.h"

#include "database/Defaults.h"
#include "programming/Frame.h"

#include <algorithm>
#include <string>

namespace veskar {

namespace {

constexpr std::size_t kFreshVoiceBlocks = 3;

bool KnownPcCommand(Byte command)
{
    switch (command) {
    case kCmdLinkFirstPass:
    case kCmdLinkSecondPass:
    case kCmdWriteConfig:
    case kCmdWriteVoices:
    case kCmdWriteVocab:
    case kCmdReadConfig:
    case kCmdReadVoices:
    case kCmdData:
    case kCmdEndOfTransfer: return true;
    default: return false;
    }
}

std::vector<Byte> Acknowledge()
{
    return BuildFrame(kSourceUnit, kCmdAcknowledge, 0);
}

} // namespace

std::vector<Byte> UnitMemory::FreshConfiguration()
{
    Image image{};
    CreateDatabase(image);
    std::vector<Byte> block(kBlockSize, 0);
    std::ranges::copy(image.bytes(), block.begin());
    return block;
}

// A label at the head of each block and a sawtooth after it: easy to pick out
// in a hex dump and different in every block.
std::vector<Byte> UnitMemory::FreshVoices()
{
    std::vector<Byte> voices(kFreshVoiceBlocks * kBlockSize);
    for (std::size_t block = 0; block < kFreshVoiceBlocks; ++block) {
        const auto start = voices.begin() + static_cast<std::ptrdiff_t>(block * kBlockSize);
        for (std::size_t i = 0; i < kBlockSize; ++i)
            start[static_cast<std::ptrdiff_t>(i)] = static_cast<Byte>((i * (block + 1)) & 0xFF);
        const std::string label = "VOICE BLOCK " + std::to_string(block + 1);
        std::ranges::copy(label, start);
    }
    return voices;
}

UnitMemory UnitMemory::Fresh()
{
    return UnitMemory{FreshConfiguration(), {}, FreshVoices()};
}

SimulatedUnit::SimulatedUnit(UnitMemory& memory, UnitFaults faults) : memory_(memory), faults_(faults)
{
    memory_.configuration.resize(kBlockSize, 0);
}

std::vector<Byte> SimulatedUnit::receive(std::span<const Byte> bytes)
{
    std::vector<Byte> out;
    for (Byte byte : bytes) {
        if (faults_.echo)
            put(std::span<const Byte>(&byte, 1), out);
        pending_.push_back(byte);
        while (!pending_.empty()) {
            const Byte next = pending_.front();
            pending_.pop_front();
            step(next, out);
        }
    }
    return out;
}

void SimulatedUnit::lineIdle()
{
    frame_.clear();
}

void SimulatedUnit::lineDropped()
{
    frame_.clear();
    pending_.clear();
    staged_.clear();
    stagedBlocks_ = 0;
    mode_ = Mode::Idle;
}

bool SimulatedUnit::writing() const
{
    return mode_ == Mode::WriteConfiguration || mode_ == Mode::WriteVocabulary || mode_ == Mode::WriteVoices;
}

std::size_t SimulatedUnit::expectedLength() const
{
    return writing() && frame_.size() >= 3 && frame_[2] == kCmdData ? kDataFrameSize : kShortFrameSize;
}

void SimulatedUnit::step(Byte byte, std::vector<Byte>& out)
{
    if (frame_.empty() && byte != kFrameStart)
        return;
    frame_.push_back(byte);
    if ((frame_.size() == 2 && byte != kSourcePc) || (frame_.size() == 3 && !KnownPcCommand(byte))) {
        resynchronise();
        return;
    }
    if (frame_.size() < expectedLength())
        return;
    if (!HasValidCrc(frame_)) {
        resynchronise();
        return;
    }
    std::vector<Byte> frame;
    frame.swap(frame_);
    handleFrame(frame, out);
}

// The 0x16 that started the failed frame was not a frame start after all: look
// for the next one among the bytes taken since.
void SimulatedUnit::resynchronise()
{
    pending_.insert(pending_.begin(), frame_.begin() + 1, frame_.end());
    frame_.clear();
}

void SimulatedUnit::handleFrame(std::span<const Byte> frame, std::vector<Byte>& out)
{
    if (onFrame)
        onFrame(FrameDirection::FromPc, frame);

    const Byte command = FrameCommand(frame);
    if (command == kCmdEndOfTransfer) {
        commit();
        return;
    }
    if (faults_.silent)
        return;
    if (requestsIgnored_ < faults_.ignoreFirst) {
        ++requestsIgnored_;
        return;
    }

    const auto startTransfer = [&](Mode mode) {
        mode_ = mode;
        staged_.clear();
        stagedBlocks_ = 0;
        reply(Acknowledge(), out);
    };
    switch (command) {
    case kCmdLinkFirstPass:
    case kCmdLinkSecondPass: startTransfer(Mode::Idle); break;
    case kCmdWriteConfig: startTransfer(Mode::WriteConfiguration); break;
    case kCmdWriteVocab: startTransfer(Mode::WriteVocabulary); break;
    case kCmdWriteVoices: startTransfer(Mode::WriteVoices); break;
    case kCmdReadConfig: startTransfer(Mode::ReadConfiguration); break;
    case kCmdReadVoices: startTransfer(Mode::ReadVoices); break;
    case kCmdData:
        if (writing())
            handleData(frame, out);
        else
            handleRequest(FramePacketNumber(frame), out);
        break;
    default: break;
    }
}

// Blocks come in order from 0; the PC repeats a block whose acknowledge it missed.
// A gap, or a block beyond what the memory holds, gets no answer.
void SimulatedUnit::handleData(std::span<const Byte> frame, std::vector<Byte>& out)
{
    const std::size_t packet = FramePacketNumber(frame);
    const std::size_t capacity = mode_ == Mode::WriteConfiguration ? 1
                                 : mode_ == Mode::WriteVocabulary  ? kUnitVocabularyBlocks
                                                                   : kUnitVoiceBlocks;
    if (packet > stagedBlocks_ || packet >= capacity)
        return;
    if (packet == stagedBlocks_) {
        ++stagedBlocks_;
        staged_.resize(stagedBlocks_ * kBlockSize);
    }
    const auto data = frame.subspan(kFrameHeaderSize, kBlockSize);
    std::ranges::copy(data, staged_.begin() + static_cast<std::ptrdiff_t>(packet * kBlockSize));
    reply(Acknowledge(), out);
}

void SimulatedUnit::handleRequest(std::uint16_t packet, std::vector<Byte>& out)
{
    const std::vector<Byte>* source = nullptr;
    if (mode_ == Mode::ReadConfiguration)
        source = &memory_.configuration;
    else if (mode_ == Mode::ReadVoices)
        source = &memory_.voices;
    else
        return; // no read running: nothing to answer with

    const std::size_t blocks = source->size() / kBlockSize;
    if (packet == faults_.endOfDataAtPacket || packet >= blocks) {
        reply(Acknowledge(), out);
        return;
    }
    const auto block = std::span<const Byte>(*source).subspan(packet * kBlockSize, kBlockSize);
    reply(BuildFrame(kSourceUnit, kCmdData, packet, block), out);
}

// A vocabulary takes the place of the voices recorded with the old one.
void SimulatedUnit::commit()
{
    const bool delivered = writing() && stagedBlocks_ > 0;
    if (delivered) {
        switch (mode_) {
        case Mode::WriteConfiguration: memory_.configuration = staged_; break;
        case Mode::WriteVocabulary:
            memory_.vocabulary = staged_;
            memory_.voices.clear();
            break;
        case Mode::WriteVoices: memory_.voices = staged_; break;
        default: break;
        }
    }
    staged_.clear();
    stagedBlocks_ = 0;
    mode_ = Mode::Idle;
    if (delivered && onStored)
        onStored();
}

void SimulatedUnit::reply(std::vector<Byte> frame, std::vector<Byte>& out)
{
    ++repliesSent_;
    if (faults_.wrongCommand && (faults_.wrongCommandReply == 0 || faults_.wrongCommandReply == repliesSent_))
        frame = BuildFrame(kSourceUnit, kWrongReplyCommand, 0);
    if (faults_.corruptEvery || faults_.corruptReply == repliesSent_)
        frame.back() ^= 0xFF;

    if (faults_.noise) {
        // A short burst of varying length and content. Every third holds one
        // false frame start, so the reader must find its way back to the reply.
        noiseSeed_ = noiseSeed_ * 1664525U + 1013904223U;
        const std::size_t length = 1 + (noiseSeed_ >> 28) % 8;
        std::vector<Byte> noise;
        for (std::size_t i = 0; i < length; ++i) {
            noiseSeed_ = noiseSeed_ * 1664525U + 1013904223U;
            const auto byte = static_cast<Byte>(noiseSeed_ >> 24);
            noise.push_back(byte == kFrameStart ? Byte{0xFF} : byte);
        }
        if (++noiseBursts_ % 3 == 0)
            noise[noiseSeed_ % length] = kFrameStart;
        put(noise, out);
    }

    const std::size_t before = out.size();
    put(frame, out);
    const std::size_t sent = out.size() - before;
    if (sent > 0 && onFrame)
        onFrame(FrameDirection::FromUnit, std::span<const Byte>(out).subspan(before, sent));
}

void SimulatedUnit::put(std::span<const Byte> bytes, std::vector<Byte>& out)
{
    for (Byte byte : bytes) {
        if (faults_.cutAfterBytes > 0 && bytesSent_ >= faults_.cutAfterBytes)
            return;
        out.push_back(byte);
        ++bytesSent_;
    }
}

} // namespace veskar
