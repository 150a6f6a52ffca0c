#include "app/FileChooser.h"
#include "app/MainWindow.h"
#include "app/MessageService.h"
#include "app/Startup.h"

#include <QApplication>

int main(int argc, char* argv[])
{
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
