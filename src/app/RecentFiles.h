#pragma once

// The recent-files list kept in "CorvaneVeskar.ini" in the working folder.
// Only its own group of the file is touched; other groups are left as they are.

#include <QStringList>

namespace veskar {

[[nodiscard]] QStringList LoadRecentFiles();
void StoreRecentFiles(const QStringList& list);

// `name` (made absolute) put first, without repeats, at most four entries.
[[nodiscard]] QStringList WithRecentFile(const QStringList& list, const QString& name);

} // namespace veskar
