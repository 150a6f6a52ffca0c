#include "cli/CliCommand.h"
#include "cli/StoredFile.h"
#include "cli/TransferSession.h"
#include "database/DataFile.h"
#include "database/Defaults.h"
#include "programming/Backups.h"
#include "programming/ConfigPreparation.h"
#include "programming/TransferFiles.h"
#include "programming/TransferTexts.h"

#include <ctime>
#include <filesystem>
#include <ostream>

namespace veskar::cli {

namespace {

// Nothing is read from the unit when its result could not be kept: found out
// before the first frame, not after a transfer of minutes.
bool RefuseUnwritableOutput(const std::string& name, std::string_view message, std::ostream& err)
{
    const FileResult result = CheckWritable(name);
    if (result == FileError::None)
        return false;
    err << WithReason(name + ":" + std::string(message), result.problem) << "\n";
    return true;
}

// A copy in backups/ of the working folder; one that cannot be written is
// reported and the transfer goes on.
void KeepBackup(const Invocation& invocation, const Image& image, BackupKind kind, std::ostream& err)
{
    if (!invocation.backup)
        return;
    const BackupResult result = WriteBackup(std::filesystem::current_path(), image, kind, std::time(nullptr));
    if (result.error != FileError::None)
        err << BackupFailureText(result) << "\n";
}

int RunWriteConfig(const Invocation& invocation, const Streams& streams)
{
    Image image{};
    if (!ReadStored(invocation.arguments[0], image, streams.err))
        return kExitUsage;
    // The file itself is left as it is; only the copy sent is adjusted, and
    // that copy is the backup, once it has left for the unit.
    return RunTransfer(invocation, streams, [&](TransferEngine& engine, ConsoleProgress& progress) {
        progress.setDelivered(
            [&](const Image& sent) { KeepBackup(invocation, sent, BackupKind::Write, streams.err); });
        return engine.StartConfigWrite(image);
    });
}

// `image` holds the unit's configuration when this returns kExitSuccess.
int ReadFromUnit(const Invocation& invocation, const Streams& streams, Image& image)
{
    CreateDatabase(image);
    return RunTransfer(invocation, streams, [&image](TransferEngine& engine, ConsoleProgress&) {
        return engine.StartConfigRead(image);
    });
}

int RunReadConfig(const Invocation& invocation, const Streams& streams)
{
    const std::string& name = invocation.arguments[0];
    if (!DataFileNameHolds(name)) {
        streams.err << name << ":" << FileErrorText(FileError::NeedDatExtension) << "\n";
        return kExitUsage;
    }
    if (RefuseUnwritableOutput(name, FileErrorText(FileError::CannotOpen), streams.err))
        return kExitUsage;
    Image image{};
    const int status = ReadFromUnit(invocation, streams, image);
    if (status != kExitSuccess)
        return status;
    KeepBackup(invocation, image, BackupKind::Read, streams.err);
    if (const FileResult result = WriteImageFile(name, image); result != FileError::None) {
        streams.err << FileResultLine(name, result) << "\n";
        return kExitFailure;
    }
    return kExitSuccess;
}

int RunVerify(const Invocation& invocation, const Streams& streams)
{
    const std::string& name = invocation.arguments[0];
    Image fromFile{};
    if (!ReadStored(name, fromFile, streams.err))
        return kExitUsage;
    Image inUnit{};
    const int status = ReadFromUnit(invocation, streams, inUnit);
    if (status != kExitSuccess)
        return status;
    if (PrintDifferences(ExpectedInUnit(fromFile), inUnit, streams.out) != 0) {
        streams.err << "The unit's configuration differs from " << name << " (file -> unit above).\n";
        return kExitFailure;
    }
    streams.err << "The unit holds the configuration of " << name << ".\n";
    return kExitSuccess;
}

// The file to send, opened before anything is asked or the port is touched;
// nothing, with the reason told, when it cannot be read.
std::unique_ptr<TransferSource> OpenSource(const std::string& name, std::string_view message,
                                           std::ostream& err)
{
    FileProblem problem = FileProblem::None;
    std::unique_ptr<TransferSource> source = OpenSendFile(name, problem);
    if (!source)
        err << WithReason(name + ":" + std::string(message), problem) << "\n";
    return source;
}

int RunWriteVocab(const Invocation& invocation, const Streams& streams)
{
    std::unique_ptr<TransferSource> source =
        OpenSource(invocation.arguments[0], texts::kCannotOpenVocab, streams.err);
    if (!source)
        return kExitUsage;
    if (!invocation.yes) {
        const std::optional<bool> answer =
            streams.ask
                ? streams.ask("Writing the vocabulary erases every voice message on the unit. Continue?")
                : std::nullopt;
        if (!answer) {
            streams.err << "write-vocab erases every voice message on the unit; give --yes to go ahead.\n";
            return kExitUsage;
        }
        if (!*answer) {
            streams.err << "Nothing was sent.\n";
            return kExitFailure;
        }
    }
    return RunTransfer(invocation, streams, [&source](TransferEngine& engine, ConsoleProgress&) {
        return engine.StartVocabWrite(std::move(source));
    });
}

int RunWriteVoices(const Invocation& invocation, const Streams& streams)
{
    std::unique_ptr<TransferSource> source =
        OpenSource(invocation.arguments[0], texts::kCannotOpenVoiceFile, streams.err);
    if (!source)
        return kExitUsage;
    return RunTransfer(invocation, streams, [&source](TransferEngine& engine, ConsoleProgress&) {
        return engine.StartVoiceWrite(std::move(source));
    });
}

int RunReadVoices(const Invocation& invocation, const Streams& streams)
{
    const std::filesystem::path file = invocation.arguments[0];
    if (RefuseUnwritableOutput(file.string(), texts::kCannotSaveVoiceFile, streams.err))
        return kExitUsage;
    return RunTransfer(invocation, streams, [&file](TransferEngine& engine, ConsoleProgress& progress) {
        progress.setVoiceFile(file);
        return engine.StartVoiceRead(OpenVoiceStore());
    });
}

constexpr CliCommand kTransferCommands[] = {
    {"write-config", "FILE.dat", "send a configuration to the unit",
     "Sends the configuration in FILE.dat to the unit. The file is not changed.\n"
     "What is sent is kept in backups/ once it has left for the unit, unless --no-backup.",
     RunWriteConfig, kOptionPort | kOptionTrace | kOptionNoBackup},
    {"read-config", "OUT.dat", "read the unit's configuration into a file",
     "Reads the unit's configuration, repairs it as the program does, and saves\n"
     "it to OUT.dat. Nothing is written unless the whole configuration arrived.\n"
     "What was read is also kept in backups/, unless --no-backup.",
     RunReadConfig, kOptionPort | kOptionTrace | kOptionNoBackup, 0b1},
    {"verify", "FILE.dat", "check that the unit holds FILE.dat",
     "Reads the unit's configuration and compares it field by field with what\n"
     "the unit should hold after FILE.dat was written (the fixed code, send flags\n"
     "and level limits applied when sending). Prints the fields that differ as\n"
     "`name: file -> unit`. Writes nothing.",
     RunVerify, kOptionPort | kOptionTrace},
    {"write-vocab", "FILE.bin", "send a vocabulary file (erases the unit's voices)",
     "Sends FILE.bin as the unit's speech vocabulary. This destroys every voice\n"
     "message stored in the unit: asked on a terminal, otherwise --yes is needed.",
     RunWriteVocab, kOptionPort | kOptionTrace | kOptionYes},
    {"write-voices", "FILE.msg", "send voice messages to the unit",
     "Sends FILE.msg (a whole number of 4096-byte blocks) to the unit's voice memory.", RunWriteVoices,
     kOptionPort | kOptionTrace},
    {"read-voices", "OUT.msg", "read the unit's voice messages into a file",
     "Reads the unit's voice memory and saves it to OUT.msg, replacing an existing\n"
     "file. Nothing is written when the unit sends less than one block.",
     RunReadVoices, kOptionPort | kOptionTrace, 0b1},
};

} // namespace

std::span<const CliCommand> TransferCommands()
{
    return kTransferCommands;
}

} // namespace veskar::cli
