#include "app/DisplayCheck.h"
#include "app/FileChooser.h"
#include "app/MainWindow.h"
#include "app/MessageService.h"
#include "app/RuntimeFolder.h"
#include "app/Startup.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <span>

int main(int argc, char* argv[])
{
    if (!veskar::DisplayAvailable([](const char* name) { return std::getenv(name); },
                                  std::span<char* const>(argv, static_cast<std::size_t>(argc)))) {
        std::fprintf(stderr, "%s\n", veskar::kNeedsDisplay.data());
        return 1;
    }
    veskar::EnsureRuntimeFolder();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(
        veskar::kApplicationName.data(), static_cast<qsizetype>(veskar::kApplicationName.size())));

    veskar::QtMessageService messages;
    veskar::QtFileChooser files;
    veskar::MainWindow window(messages, files);
    window.showMaximized();
    window.InitFile();
    return QApplication::exec();
}
