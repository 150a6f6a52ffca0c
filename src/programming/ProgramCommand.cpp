#include "programming/ProgramCommand.h"

#include "app/MainWindow.h"
#include "programming/PgmDialog.h"
#include "programming/PortDirectory.h"
#include "programming/SerialPortLink.h"
#include "programming/SteadyClock.h"
#include "report/PrintoutWin.h"

#include <QSettings>

namespace veskar {

namespace {

// "[Backups] Enabled=0" in the ini of the working folder turns backups off.
bool BackupsWanted(const std::filesystem::path& folder)
{
    const QSettings ini(QString::fromStdString((folder / "CorvaneVeskar.ini").string()),
                        QSettings::IniFormat);
    return ini.value(QStringLiteral("Backups/Enabled"), true).toBool();
}

} // namespace

void RunProgramming(MainWindow& main)
{
    const std::filesystem::path folder = std::filesystem::current_path();
    SteadyClock clock;
    SerialPortLink link(ResolvePortDevice(PortName(main.cfg().portIndex())), clock);
    ProgrammingServices services{main.messages(),
                                 main.files(),
                                 main.cfg(),
                                 [&main] { PrintoutWin::Open(main, SummaryMode::Warnings); },
                                 folder,
                                 BackupsWanted(folder)};
    ProgrammingLine line{
        link,
        clock,
        [&link](TransferEngine& engine) {
            link.setEvents({[&engine](std::span<const Byte> bytes) { engine.bytesArrived(bytes); },
                            [&engine] { engine.writeFinished(); }, [&engine] { engine.timerFired(); }});
        },
        [&link](const std::string& name) { link.setDevice(ResolvePortDevice(name)); },
        [](const std::string& name) { return DescribePort(name); },
    };
    PgmDialog dialog(&main, main.document(), std::move(services), std::move(line));
    main.runDialog(dialog);
}

} // namespace veskar
