#pragma once

// Data files: the image stored byte for byte, 3328 bytes, no header.

#include "database/Image.h"

#include <filesystem>
#include <string_view>

namespace veskar {

enum class FileError {
    None,
    CannotOpen,
    CannotWrite,
    NeedDatExtension,
    WrongSize,
    // Only a write in place was possible (the folder is not writable) and it failed part way.
    InPlaceWriteFailed,
};

inline constexpr std::string_view kFileErrorCaption = "File Error";

// The message a user sees for an error (empty for None).
[[nodiscard]] std::string_view FileErrorText(FileError error);

// The name must hold ".dat" (any case) somewhere; only the first 100 characters count.
[[nodiscard]] bool CheckFileExt(std::string_view name);

// The rule every command applies to a path: a file dialog or a shell hands
// over whole paths, so a deep folder must not hide the file's own ".dat".
[[nodiscard]] bool DataFileNameHolds(const std::string& path);

enum class SizeRule {
    Exact,   // Open: anything but 3328 bytes is refused
    UpTo,    // start-up: what the file holds lands on an all-zero image
};

// Reads into `image` only when the whole read succeeds; no repair pass here.
[[nodiscard]] FileError ReadImageFile(const std::filesystem::path& path, Image& image, SizeRule rule);

// Writes through a temporary file in the same folder that replaces the target
// only once it is complete on disk, so a failed write leaves the old file whole.
[[nodiscard]] FileError WriteImageFile(const std::filesystem::path& path, const Image& image);

// Creates `path` whole, only where nothing is (a dangling link counts as
// something); CannotOpen when something is there or the folder refuses.
[[nodiscard]] FileError CreateImageFile(const std::filesystem::path& path, const Image& image);

// Whether a save to `path` could be made now (a link's target, not read-only,
// a temporary file can be created beside it or the file written in place),
// without touching anything.
[[nodiscard]] FileError CheckWritable(const std::filesystem::path& path);

}  // namespace veskar
