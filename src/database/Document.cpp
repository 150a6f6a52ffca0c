#include "database/Document.h"

#include "database/Defaults.h"
#include "database/FieldTable.h"

#include <filesystem>

namespace veskar {

FileError Document::Open(const std::string& name)
{
    if (!DataFileNameHolds(name))
        return FileError::NeedDatExtension;
    return Load(name, SizeRule::Exact);
}

FileError Document::Save()
{
    if (!DataFileNameHolds(workingFile))
        return FileError::NeedDatExtension;
    Image repaired = image;
    DefaultValues(repaired);
    if (const FileError error = WriteImageFile(workingFile, repaired); error != FileError::None)
        return error;
    image = repaired;
    DatabaseChanged = false;
    return FileError::None;
}

FileError Document::SaveAs(const std::string& name)
{
    if (!DataFileNameHolds(name))
        return FileError::NeedDatExtension;
    if (const FileError error = WriteImageFile(name, image); error != FileError::None)
        return error;
    DatabaseChanged = false;
    workingFile = name;
    return FileError::None;
}

FileError Document::LoadStartupFile(const std::string& name)
{
    return Load(name, SizeRule::UpTo);
}

// The image is replaced only by a file read whole.
FileError Document::Load(const std::string& name, SizeRule sizeRule)
{
    Image read{};
    if (const FileError error = ReadImageFile(name, read, sizeRule); error != FileError::None)
        return error;
    Image repaired = read;
    DefaultValues(repaired);
    RepairedFields = ChangedFieldCount(read, repaired);
    image = repaired;
    DatabaseChanged = false;
    workingFile = name;
    return FileError::None;
}

FileError Document::CreateStartupFile(const std::string& name)
{
    CreateDatabase();
    if (const FileError error = CreateImageFile(name, image); error != FileError::None)
        return error;
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

}  // namespace veskar
