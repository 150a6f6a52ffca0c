#include "database/Document.h"

#include "database/Defaults.h"
#include "database/FieldTable.h"

#include <filesystem>

namespace veskar {

FileResult Document::Open(const std::string& name)
{
    if (!DataFileNameHolds(name))
        return FileError::NeedDatExtension;
    return Load(name, SizeRule::Exact);
}

FileResult Document::Save()
{
    if (!DataFileNameHolds(workingFile))
        return FileError::NeedDatExtension;
    Image repaired = image;
    DefaultValues(repaired);
    if (const FileResult result = WriteImageFile(workingFile, repaired); result != FileError::None)
        return result;
    image = repaired;
    DatabaseChanged = false;
    return FileError::None;
}

FileResult Document::SaveAs(const std::string& name)
{
    if (!DataFileNameHolds(name))
        return FileError::NeedDatExtension;
    if (const FileResult result = WriteImageFile(name, image); result != FileError::None)
        return result;
    DatabaseChanged = false;
    workingFile = name;
    return FileError::None;
}

FileResult Document::LoadStartupFile(const std::string& name)
{
    return Load(name, SizeRule::UpTo);
}

// The image is replaced only by a file read whole.
FileResult Document::Load(const std::string& name, SizeRule sizeRule)
{
    Image read{};
    if (const FileResult result = ReadImageFile(name, read, sizeRule); result != FileError::None)
        return result;
    Image repaired = read;
    DefaultValues(repaired);
    RepairedFields = ChangedFieldCount(read, repaired);
    image = repaired;
    DatabaseChanged = false;
    workingFile = name;
    return FileError::None;
}

FileResult Document::CreateStartupFile(const std::string& name)
{
    CreateDatabase();
    if (const FileResult result = CreateImageFile(name, image); result != FileError::None)
        return result;
    DatabaseChanged = false;
    return FileError::None;
}

void Document::CreateDatabase()
{
    veskar::CreateDatabase(image);
    DatabaseChanged = true;
}

void Document::ClearDatabase()
{
    veskar::ClearDatabase(image);
}

} // namespace veskar
