#pragma once

// The configuration being edited, with its file name and unsaved-changes mark,
// and the file steps that keep those three consistent.

#include "database/DataFile.h"
#include "database/Image.h"

#include <string>

namespace veskar {

class Document {
  public:
    Image image{};
    bool DatabaseChanged = false;
    std::string workingFile;
    // Fields the repair pass set to their defaults when the file in use was read.
    std::size_t RepairedFields = 0;

    // Open: name rule, exact size, repair. On any error nothing changes.
    [[nodiscard]] FileResult Open(const std::string& name);
    // Save to workingFile: name rule, repair, write.
    [[nodiscard]] FileResult Save();
    // Save As: name rule, write the image as it stands; the name becomes workingFile.
    [[nodiscard]] FileResult SaveAs(const std::string& name);

    // Start-up: whatever the default file holds lands on a zero image and is repaired.
    [[nodiscard]] FileResult LoadStartupFile(const std::string& name);
    // Start-up when the default file cannot be read: a new configuration, written out.
    [[nodiscard]] FileResult CreateStartupFile(const std::string& name);

    void CreateDatabase();
    void ClearDatabase();

  private:
    [[nodiscard]] FileResult Load(const std::string& name, SizeRule sizeRule);
};

} // namespace veskar
