#include "programming/PortSettings.h"

#include "database/FileWriting.h"

#include <fstream>

namespace veskar {

std::string PortName(int index)
{
    return "COM" + std::to_string(index + 1);
}

std::optional<PortSettings> ReadPortSettings(const std::filesystem::path& path)
{
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored))
        return std::nullopt;
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return std::nullopt;
    PortSettings cfg;
    file.read(reinterpret_cast<char*>(cfg.bytes.data()), cfg.bytes.size());
    if (file.bad())
        return std::nullopt;
    return cfg;
}

bool WritePortSettings(const std::filesystem::path& path, const PortSettings& cfg)
{
    return WriteFileReplacing(path, cfg.bytes);
}

}  // namespace veskar
