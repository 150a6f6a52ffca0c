#include "programming/PortSettings.h"

#include "database/FileWriting.h"

namespace veskar {

std::string PortName(int index)
{
    return "COM" + std::to_string(index + 1);
}

std::optional<PortSettings> ReadPortSettings(const std::filesystem::path& path)
{
    FileProblem ignored = FileProblem::None;
    std::optional<ReadFile> file = ReadFile::Open(path, ignored);
    PortSettings cfg;
    if (!file || !file->Read(cfg.bytes))
        return std::nullopt;
    return cfg;
}

bool WritePortSettings(const std::filesystem::path& path, const PortSettings& cfg)
{
    return WriteFileReplacing(path, cfg.bytes);
}

} // namespace veskar
