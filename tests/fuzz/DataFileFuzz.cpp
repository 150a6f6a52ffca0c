// The repair pass over any bytes a data file may hold: it settles in one pass,
// leaves nothing out of range for a second pass, and a repaired image saved
// and opened again is the same image.

#include "FuzzCheck.h"
#include "database/DataFile.h"
#include "database/Defaults.h"
#include "database/FieldTable.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <unistd.h>

using namespace veskar;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // A short file lands on a zero image, as at start-up.
    Image image{};
    std::copy_n(data, std::min(size, kImageSize), image.bytes().begin());

    Image repaired = image;
    DefaultValues(repaired);
    Image again = repaired;
    DefaultValues(again);
    fuzz::Require(again == repaired, "the repair settles in one pass");
    fuzz::Require(ChangedFieldCount(image, repaired) <= ImageFields().size(), "changed fields are counted");

    // The file round trip costs a write: only for inputs of a file's exact size.
    if (size == kImageSize) {
        static const std::filesystem::path file =
            std::filesystem::temp_directory_path() / ("veskar-fuzz-" + std::to_string(::getpid()) + ".dat");
        fuzz::Require(WriteImageFile(file, repaired) == FileError::None, "a repaired image can be saved");
        Image read{};
        fuzz::Require(ReadImageFile(file, read, SizeRule::Exact) == FileError::None, "and opened");
        Image reopened = read;
        DefaultValues(reopened);
        fuzz::Require(reopened == repaired, "save then open gives the same image");
        std::error_code ignored;
        std::filesystem::remove(file, ignored);
    }
    return 0;
}
