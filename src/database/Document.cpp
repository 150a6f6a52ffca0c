#include "database/Document.h"

#include "database/Defaults.h"

namespace veskar {

FileError Document::Open(const std::string& name)
{
    if (!CheckFileExt(name))
        return FileError::NeedDatExtension;
    Image read{};
    if (const FileError error = ReadImageFile(name, read, SizeRule::Exact); error != FileError::None)
        return error;
    DefaultValues(read);
    image = read;
    DatabaseChanged = false;
    workingFile = name;
    return FileError::None;
}

FileError Document::Save()
{
    if (!CheckFileExt(workingFile))
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
    if (!CheckFileExt(name))
        return FileError::NeedDatExtension;
    if (const FileError error = WriteImageFile(name, image); error != FileError::None)
        return error;
    DatabaseChanged = false;
    workingFile = name;
    return FileError::None;
}

FileError Document::LoadStartupFile(const std::string& name)
{
    Image read{};
    if (const FileError error = ReadImageFile(name, read, SizeRule::UpTo); error != FileError::None)
        return error;
    DefaultValues(read);
    image = read;
    DatabaseChanged = false;
    workingFile = name;
    return FileError::None;
}

FileError Document::CreateStartupFile(const std::string& name)
{
    CreateDatabase();
    if (const FileError error = WriteImageFile(name, image); error != FileError::None)
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
