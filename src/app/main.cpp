#include "about/ProjectVersion.h"
#include "app/DisplayCheck.h"
#include "app/MainWindow.h"
#include "app/RuntimeFolder.h"
#include "app/Startup.h"
#include "widgets/FileChooser.h"
#include "widgets/MessageService.h"

#include <QApplication>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string_view>

int main(int argc, char* argv[])
{
    const std::span<char* const> arguments(argv, static_cast<std::size_t>(argc));
    // Answered before anything starts: no display needed, no file touched.
    if (std::ranges::any_of(arguments.subspan(1),
                            [](const char* word) { return std::string_view(word) == "--version"; })) {
        std::fputs(veskar::VersionText("veskar").c_str(), stdout);
        return 0;
    }
    // A file size limit fails the write, which is reported, instead of killing the program mid-save.
    std::signal(SIGXFSZ, SIG_IGN);
    if (!veskar::DisplayAvailable([](const char* name) { return std::getenv(name); }, arguments)) {
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
