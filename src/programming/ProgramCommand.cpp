#include "programming/ProgramCommand.h"

#include "database/Document.h"
#include "programming/PgmDialog.h"
#include "programming/PortDirectory.h"
#include "programming/SerialPortLink.h"
#include "programming/SteadyClock.h"
#include "report/PrintoutWin.h"
#include "widgets/EditorHost.h"

#include <QSettings>

namespace veskar {

namespace {

// The ini of the working folder: "[Backups] Enabled=0" turns backups off,
// "[Trace] Enabled" remembers the trace check box.
QString IniPath(const std::filesystem::path& folder)
{
    return QString::fromStdString((folder / "CorvaneVeskar.ini").string());
}

bool IniFlag(const std::filesystem::path& folder, const QString& key, bool otherwise)
{
    return QSettings(IniPath(folder), QSettings::IniFormat).value(key, otherwise).toBool();
}

const QString kBackupsKey = QStringLiteral("Backups/Enabled");
const QString kTraceKey = QStringLiteral("Trace/Enabled");

} // namespace

void RunProgramming(EditorHost& host, PortSettings& cfg)
{
    const std::filesystem::path folder = std::filesystem::current_path();
    SteadyClock clock;
    SerialPortLink link(ResolvePortDevice(PortName(cfg.portIndex())), clock);
    ProgrammingServices services{
        .messages = host.messages(),
        .files = host.files(),
        .cfg = cfg,
        .showWarnings = [&host] { PrintoutWin::Open(host, SummaryMode::Warnings); },
        .folder = folder,
        .keepBackups = IniFlag(folder, kBackupsKey, true),
        .traceLine = IniFlag(folder, kTraceKey, false),
        .rememberTrace = [folder](bool on) { QSettings(IniPath(folder), QSettings::IniFormat).setValue(kTraceKey, on); },
    };
    ProgrammingLine line{
        link,
        clock,
        [&link](TransferEngine& engine) { link.setEvents(EngineEvents(engine)); },
        [&link](const std::string& name) { link.setDevice(ResolvePortDevice(name)); },
        [](const std::string& name) { return ResolvePortDevice(name); },
    };
    PgmDialog dialog(&host.frame(), host.document(), std::move(services), std::move(line));
    host.runDialog(dialog);
}

} // namespace veskar
