#include "cli/StoredFile.h"

#include "database/DataFile.h"
#include "report/Listing.h"

#include <ostream>

namespace veskar::cli {

bool ReadStored(const std::string& name, Image& image, std::ostream& err)
{
    const FileResult result = DataFileNameHolds(name) ? ReadImageFile(name, image, SizeRule::Exact)
                                                      : FileResult(FileError::NeedDatExtension);
    if (result == FileError::None)
        return true;
    err << FileResultLine(name, result) << "\n";
    return false;
}

std::size_t PrintDifferences(const Image& before, const Image& after, std::ostream& out)
{
    const auto differences = CompareImages(before, after);
    for (const FieldDifference& difference : differences)
        out << difference.name << ": " << difference.before << " -> " << difference.after << "\n";
    return differences.size();
}

} // namespace veskar::cli
