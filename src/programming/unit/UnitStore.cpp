#include "programming/unit/UnitStore.h"

#include "database/FileWriting.h"
#include "programming/Frame.h"

#include <fstream>
#include <iterator>
#include <optional>

namespace veskar {

namespace {

struct StoreFile {
    const char* name;
    std::vector<Byte> UnitMemory::*part;
    std::size_t minBlocks;
    std::size_t maxBlocks;
};

constexpr StoreFile kFiles[] = {
    {kStoreConfigurationFile, &UnitMemory::configuration, 1, 1},
    {kStoreVocabularyFile, &UnitMemory::vocabulary, 0, kUnitVocabularyBlocks},
    {kStoreVoicesFile, &UnitMemory::voices, 0, kUnitVoiceBlocks},
};

std::string SizeRuleText(const StoreFile& file)
{
    if (file.minBlocks == file.maxBlocks)
        return "exactly " + std::to_string(file.maxBlocks * kBlockSize) + " bytes";
    return "a multiple of " + std::to_string(kBlockSize) + " bytes, at most " +
           std::to_string(file.maxBlocks * kBlockSize);
}

// Reads at most one byte more than the largest valid size, so a huge foreign
// file is refused without being taken into memory.
std::optional<std::vector<Byte>> ReadStoreFile(const std::filesystem::path& path, const StoreFile& file,
                                               std::string& error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path.string() + ": cannot be read";
        return std::nullopt;
    }
    const std::size_t limit = file.maxBlocks * kBlockSize + 1;
    std::vector<Byte> bytes(limit);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(limit));
    if (in.bad()) {
        error = path.string() + ": cannot be read";
        return std::nullopt;
    }
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    const std::size_t blocks = bytes.size() / kBlockSize;
    if (bytes.size() % kBlockSize != 0 || blocks < file.minBlocks || blocks > file.maxBlocks) {
        error = path.string() + ": holds " + (bytes.size() == limit ? "more than " : "") +
                std::to_string(bytes.size()) + " bytes; it must hold " + SizeRuleText(file);
        return std::nullopt;
    }
    return bytes;
}

} // namespace

bool LoadUnitStore(const std::filesystem::path& folder, UnitMemory& memory, std::string& error)
{
    std::error_code failure;
    if (std::filesystem::exists(folder, failure) && !std::filesystem::is_directory(folder, failure)) {
        error = folder.string() + ": is not a folder";
        return false;
    }

    const UnitMemory fresh = UnitMemory::Fresh();
    UnitMemory loaded;
    std::vector<const StoreFile*> missing;
    for (const StoreFile& file : kFiles) {
        const std::filesystem::path path = folder / file.name;
        if (!std::filesystem::exists(path, failure)) {
            loaded.*file.part = fresh.*file.part;
            missing.push_back(&file);
            continue;
        }
        std::optional<std::vector<Byte>> bytes = ReadStoreFile(path, file, error);
        if (!bytes)
            return false;
        loaded.*file.part = std::move(*bytes);
    }

    if (!missing.empty()) {
        std::filesystem::create_directories(folder, failure);
        if (failure) {
            error = folder.string() + ": cannot be created (" + failure.message() + ")";
            return false;
        }
        for (const StoreFile* file : missing) {
            if (!WriteFileReplacing(folder / file->name, loaded.*file->part)) {
                error = (folder / file->name).string() + ": cannot be written";
                return false;
            }
        }
    }
    memory = std::move(loaded);
    return true;
}

bool SaveUnitStore(const std::filesystem::path& folder, const UnitMemory& memory, std::string& error)
{
    for (const StoreFile& file : kFiles) {
        if (!WriteFileReplacing(folder / file.name, memory.*file.part)) {
            error = (folder / file.name).string() + ": cannot be written; it keeps its previous content";
            return false;
        }
    }
    return true;
}

} // namespace veskar
