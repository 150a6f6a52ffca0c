#pragma once

// Data files: the image stored byte for byte, 3328 bytes, no header.

#include "database/FileWriting.h"
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

// An error with the reason behind it, for the messages that tell it. Stands
// for its error wherever only that counts.
struct FileResult {
    FileError error = FileError::None;
    FileProblem problem = FileProblem::None;

    constexpr FileResult() = default;
    constexpr FileResult(FileError failure, FileProblem why = FileProblem::None)
        : error(failure), problem(why)
    {
    }
    constexpr operator FileError() const { return error; }
};

// The error a save's outcome means.
[[nodiscard]] FileResult FileResultOf(const WriteResult& result);

// "site.dat: CANNOT OPEN FILE (is a named pipe)", the reason only when known.
[[nodiscard]] std::string FileResultLine(const std::string& name, const FileResult& result);

// The name must hold ".dat" (any case) somewhere; only the first 100 characters count.
[[nodiscard]] bool CheckFileExt(std::string_view name);

// The rule every command applies to a path: a file dialog or a shell hands
// over whole paths, so a deep folder must not hide the file's own ".dat".
[[nodiscard]] bool DataFileNameHolds(const std::string& path);

enum class SizeRule {
    Exact, // Open: anything but 3328 bytes is refused
    UpTo,  // start-up: what the file holds lands on an all-zero image
};

// Reads into `image` only when the whole read succeeds; no repair pass here.
// Only a regular file is read.
[[nodiscard]] FileResult ReadImageFile(const std::filesystem::path& path, Image& image, SizeRule rule);

// Writes through a temporary file in the same folder that replaces the target
// only once it is complete on disk, so a failed write leaves the old file whole.
[[nodiscard]] FileResult WriteImageFile(const std::filesystem::path& path, const Image& image);

// Creates `path` whole, only where nothing is (a dangling link counts as
// something); CannotOpen when something is there or the folder refuses.
[[nodiscard]] FileResult CreateImageFile(const std::filesystem::path& path, const Image& image);

// Whether a save to `path` could be made now (a link's target, not read-only,
// a temporary file can be created beside it or the file written in place),
// without touching anything.
[[nodiscard]] FileResult CheckWritable(const std::filesystem::path& path);

} // namespace veskar
