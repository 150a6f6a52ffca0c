// Renders the main window and every dialog to PNG files for review:
//   veskar-screenshots OUTPUT_FOLDER
// Runs in a temporary working folder, so no file of the caller is touched.

#include "about/Cv2AboutDlg.h"
#include "app/FileChooser.h"
#include "app/HelpWindow.h"
#include "app/MainWindow.h"
#include "app/MessageService.h"
#include "app/QtText.h"
#include "app/Startup.h"
#include "app/WarningDialog.h"
#include "database/Codes.h"
#include "levels/SetptDialog.h"
#include "report/PrintoutWin.h"

#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QMessageBox>
#include <QPrintPreviewDialog>
#include <QSlider>
#include <QTemporaryDir>

#include <cstdio>

namespace {

bool Save(QWidget& widget, const QDir& folder, const QString& name)
{
    widget.show();
    QApplication::processEvents();
    const QString path = folder.filePath(name + QStringLiteral(".png"));
    const bool saved = widget.grab().save(path);
    std::fprintf(saved ? stdout : stderr, "%s %s\n", saved ? "wrote" : "cannot write", qPrintable(path));
    widget.hide();
    return saved;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: veskar-screenshots OUTPUT_FOLDER\n");
        return 2;
    }
    QDir output(QDir::current().absoluteFilePath(QString::fromLocal8Bit(argv[1])));
    if (!output.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    QTemporaryDir work;
    if (!work.isValid() || !QDir::setCurrent(work.path())) {
        std::fprintf(stderr, "cannot make a temporary working folder\n");
        return 1;
    }

    veskar::ScriptedMessageService messages;
    veskar::ScriptedFileChooser files;
    veskar::MainWindow window(messages, files);
    window.InitFile();
    window.resize(1000, 640);
    bool ok = Save(window, output, QStringLiteral("main-window"));

    // A menu as it drops down.
    window.show();
    QMenu* file = window.fileMenu();
    file->popup(window.mapToGlobal(QPoint(0, 0)));
    QApplication::processEvents();
    ok = Save(*file, output, QStringLiteral("menu-file")) && ok;
    file->hide();

    {
        veskar::SetptDialog levels(&window, window.document(), messages);
        levels.slider(0)->setValue(16);
        levels.slider(3)->setValue(10);
        ok = Save(levels, output, QStringLiteral("audio-levels")) && ok;
    }
    {
        veskar::Cv2AboutDlg about(&window);
        ok = Save(about, output, QStringLiteral("about")) && ok;
    }
    {
        veskar::WarningDialog warning(&window, QStringLiteral("the audio levels"));
        ok = Save(warning, output, QStringLiteral("warning-discard")) && ok;
    }
    {
        using Service = veskar::QtMessageService;
        const auto query =
            Service::MakeBox(&window, veskar::Text(veskar::kQueryCaption), Service::Icon::Question,
                             Service::Buttons::YesNoCancel, veskar::Text(veskar::kSaveBeforeCloseQuery));
        ok = Save(*query, output, QStringLiteral("query-close")) && ok;
        const auto notice =
            Service::MakeBox(nullptr, veskar::Text(veskar::kFileErrorCaption), Service::Icon::Exclamation,
                             Service::Buttons::Ok, veskar::Text(veskar::kDatCreatedNotice));
        ok = Save(*notice, output, QStringLiteral("notice-default-created")) && ok;
    }
    {
        veskar::HelpWindow help;
        help.showTopic(QStringLiteral("levels.html"));
        ok = Save(help, output, QStringLiteral("help")) && ok;
    }
    {
        // A configuration with something in every kind of page.
        veskar::Image& image = window.document().image;
        image.User[0].userName = veskar::NameFromText("J Smith");
        image.User[0].startCode = veskar::CodeFromText("1234");
        image.User[1].startCode = veskar::CodeFromText("5678");
        const std::string_view line = "P:1234&W010&Q::::&";
        std::copy(line.begin(), line.end(), image.dir[1].begin());
        window.touchDocument();
        auto* summary = veskar::PrintoutWin::Open(window, veskar::SummaryMode::Operators);
        ok = Save(*summary, output, QStringLiteral("summary-operators")) && ok;
        summary->Choose(veskar::SummaryMode::System);
        ok = Save(*summary, output, QStringLiteral("summary-system")) && ok;
        summary->Choose(veskar::SummaryMode::Directories);
        ok = Save(*summary, output, QStringLiteral("summary-directories")) && ok;
        summary->Choose(veskar::SummaryMode::Warnings);
        ok = Save(*summary, output, QStringLiteral("summary-warnings")) && ok;
        window.setDialogRunner([&](QDialog& dialog) {
            dialog.resize(900, 700);
            ok = Save(dialog, output, QStringLiteral("summary-print-preview")) && ok;
            return int(QDialog::Rejected);
        });
        summary->PrintPreview();
        summary->close();
    }
    window.document().DatabaseChanged = false;
    return ok ? 0 : 1;
}
