#pragma once

// The files behind the transfers: a file to send, and the private scratch
// file that gathers voices until they are kept under the chosen name.

#include "database/FileWriting.h"
#include "programming/TransferData.h"

#include <filesystem>
#include <memory>

namespace veskar {

// Nothing when the file cannot be opened for reading (a folder, a pipe, a missing file); `problem` says why.
[[nodiscard]] std::unique_ptr<TransferSource> OpenSendFile(const std::filesystem::path& file,
                                                           FileProblem& problem);
[[nodiscard]] std::unique_ptr<TransferSource> OpenSendFile(const std::filesystem::path& file);

// Voices gather in a file without a name in `tempDir`, so two reads at once, or
// a stale file of another user, never meet; keeping them replaces the target
// only once they are all on disk. Nothing when no scratch file can be made.
[[nodiscard]] std::unique_ptr<VoiceSink> OpenVoiceStore(const std::filesystem::path& tempDir);
// The same in the system's temporary folder.
[[nodiscard]] std::unique_ptr<VoiceSink> OpenVoiceStore();

} // namespace veskar
