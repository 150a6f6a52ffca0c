#include "report/SummaryPdf.h"

#include "app/ScreenFit.h"
#include "report/ReportPainter.h"

#include <QGuiApplication>
#include <QSaveFile>

#include <memory>

namespace veskar {

bool WriteSummaryPdf(const std::string& fileName, const std::vector<ReportPage>& pages)
{
    // Fonts need an application object; without a display, the offscreen platform serves.
    std::unique_ptr<QGuiApplication> app;
    if (!QCoreApplication::instance()) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "veskar-cli";
        static char* argv[] = {name, nullptr};
        app = std::make_unique<QGuiApplication>(argc, argv);
    }
    // The toolkit's notes about the missing desktop are no concern of a script; failure is the result.
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    QSaveFile file(QString::fromStdString(fileName));
    const bool written = file.open(QIODevice::WriteOnly) &&
                         WritePdf(file, pages, LayoutForScreen(kNarrowScreenBelow)) && file.commit();
    qInstallMessageHandler(previous);
    return written;
}

} // namespace veskar
