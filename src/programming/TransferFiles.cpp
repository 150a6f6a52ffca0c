#include "programming/TransferFiles.h"

#include "database/FileWriting.h"

#include <algorithm>
#include <optional>
#include <system_error>

namespace veskar {

namespace {

class FileSource final : public TransferSource {
  public:
    explicit FileSource(ReadFile file) : m_file(std::move(file)) {}

    [[nodiscard]] std::uintmax_t size() const override { return m_file.size(); }

    bool Read(std::span<Byte> into) override
    {
        std::size_t got = 0;
        if (m_delivered < m_file.size()) {
            const std::optional<std::size_t> read = m_file.Read(into);
            if (!read)
                return false;
            got = *read;
            m_delivered += got;
            // Short of the size it had when opened: the file shrank under us.
            if (got < into.size() && m_delivered < m_file.size())
                return false;
        }
        std::fill(into.begin() + static_cast<std::ptrdiff_t>(got), into.end(), Byte{0});
        return true;
    }

  private:
    ReadFile m_file;
    std::uintmax_t m_delivered = 0;
};

class VoiceStore final : public VoiceSink {
  public:
    explicit VoiceStore(ScratchFile scratch) : m_scratch(std::move(scratch)) {}

    bool Append(std::span<const Byte> blocks) override { return m_scratch.Append(blocks); }

    bool Keep(const std::filesystem::path& target) override
    {
        const auto bytes = m_scratch.ReadAll();
        return bytes && WriteFileReplacing(target, *bytes);
    }

  private:
    ScratchFile m_scratch;
};

} // namespace

std::unique_ptr<TransferSource> OpenSendFile(const std::filesystem::path& file, FileProblem& problem)
{
    std::optional<ReadFile> opened = ReadFile::Open(file, problem);
    if (!opened)
        return nullptr;
    return std::make_unique<FileSource>(std::move(*opened));
}

std::unique_ptr<TransferSource> OpenSendFile(const std::filesystem::path& file)
{
    FileProblem ignored = FileProblem::None;
    return OpenSendFile(file, ignored);
}

std::unique_ptr<VoiceSink> OpenVoiceStore(const std::filesystem::path& tempDir)
{
    auto scratch = ScratchFile::Create(tempDir);
    if (!scratch)
        return nullptr;
    return std::make_unique<VoiceStore>(std::move(*scratch));
}

std::unique_ptr<VoiceSink> OpenVoiceStore()
{
    std::error_code error;
    std::filesystem::path dir = std::filesystem::temp_directory_path(error);
    return OpenVoiceStore(error ? std::filesystem::current_path(error) : dir);
}

} // namespace veskar
