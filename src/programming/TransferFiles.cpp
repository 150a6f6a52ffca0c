#include "programming/TransferFiles.h"

#include "database/FileWriting.h"

#include <algorithm>
#include <fstream>
#include <system_error>

namespace veskar {

namespace {

class FileSource final : public TransferSource {
  public:
    FileSource(std::ifstream file, std::uintmax_t size) : m_file(std::move(file)), m_size(size) {}

    [[nodiscard]] std::uintmax_t size() const override { return m_size; }

    bool Read(std::span<Byte> into) override
    {
        std::size_t got = 0;
        if (m_delivered < m_size) {
            m_file.read(reinterpret_cast<char*>(into.data()), static_cast<std::streamsize>(into.size()));
            got = static_cast<std::size_t>(m_file.gcount());
            m_delivered += got;
            // Short of the size it had when opened: the file failed or shrank under us.
            if (got < into.size() && m_delivered < m_size)
                return false;
        }
        std::fill(into.begin() + static_cast<std::ptrdiff_t>(got), into.end(), Byte{0});
        return true;
    }

  private:
    std::ifstream m_file;
    std::uintmax_t m_size;
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

std::unique_ptr<TransferSource> OpenSendFile(const std::filesystem::path& file)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error))
        return nullptr;
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    std::ifstream stream(file, std::ios::binary);
    if (error || !stream)
        return nullptr;
    return std::make_unique<FileSource>(std::move(stream), size);
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
