#include "report/SummaryPdf.h"

#include "report/ReportPainter.h"
#include "widgets/ScreenFit.h"

#include <QGuiApplication>

#include <memory>

namespace veskar {

std::optional<std::vector<Byte>> SummaryPdf(const std::vector<ReportPage>& pages)
{
    // The toolkit's notes about the missing desktop are no concern of a script; failure is the result.
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
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
    std::optional<std::vector<Byte>> bytes = PdfBytes(pages, LayoutForScreen(kNarrowScreenBelow));
    app.reset();
    qInstallMessageHandler(previous);
    return bytes;
}

} // namespace veskar
