#include "database/Document.h"

#include "database/Defaults.h"

#include <filesystem>

namespace veskar {

namespace {

// The rule looks at the first 100 characters only; a file dialog hands over
// whole paths, so a deep folder must not hide the file's own ".dat".
bool NameRuleHolds(const std::string& name)
{
    return CheckFileExt(name) || CheckFileExt(std::filesystem::path(name).filename().string());
}

}  // namespace

FileError Document::Open(const std::string& name)
{
    if (!NameRuleHolds(name))
        return FileError::NeedDatExtension;
    return Load(name, SizeRule::Exact);
}

FileError Document::Save()
{
    if (!NameRuleHolds(workingFile))
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
    if (!NameRuleHolds(name))
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
