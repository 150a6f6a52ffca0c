#include "app/RecentFiles.h"

#include "app/Startup.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace veskar {

namespace {

constexpr const char* kSettingsFile = "CorvaneVeskar.ini";
constexpr const char* kRecentGroup = "RecentFiles";

QSettings ProgramSettings()
{
    return QSettings(QDir::current().filePath(QString::fromLatin1(kSettingsFile)), QSettings::IniFormat);
}

QString RecentKey(int index)
{
    return QStringLiteral("File%1").arg(index + 1);
}

} // namespace

QStringList LoadRecentFiles()
{
    QSettings settings = ProgramSettings();
    settings.beginGroup(QString::fromLatin1(kRecentGroup));
    QStringList list;
    for (int i = 0; i < kRecentFileLimit; ++i) {
        const QString name = settings.value(RecentKey(i)).toString();
        if (!name.isEmpty() && !list.contains(name))
            list << name;
    }
    return list;
}

void StoreRecentFiles(const QStringList& list)
{
    QSettings settings = ProgramSettings();
    settings.beginGroup(QString::fromLatin1(kRecentGroup));
    for (int i = 0; i < kRecentFileLimit; ++i) {
        if (i < list.size())
            settings.setValue(RecentKey(i), list.at(i));
        else
            settings.remove(RecentKey(i));
    }
    settings.endGroup();
    settings.sync();
}

QStringList WithRecentFile(const QStringList& list, const QString& name)
{
    std::vector<std::string> entries;
    for (const QString& entry : list)
        entries.push_back(entry.toStdString());
    entries = AddRecentFile(std::move(entries), QFileInfo(name).absoluteFilePath().toStdString());
    QStringList result;
    for (const std::string& entry : entries)
        result << QString::fromStdString(entry);
    return result;
}

} // namespace veskar
