// Renders the main window and every dialog to PNG files for review:
//   veskar-screenshots OUTPUT_FOLDER
// Runs in a temporary working folder, so no file of the caller is touched.

#include "about/Cv2AboutDlg.h"
#include "app/HelpWindow.h"
#include "app/MainWindow.h"
#include "app/Startup.h"
#include "database/Codes.h"
#include "directories/CopyDirDialog.h"
#include "directories/DirDialog.h"
#include "directories/DirWin.h"
#include "directories/DirectoryCodec.h"
#include "levels/SetptDialog.h"
#include "programming/ComDialog.h"
#include "programming/ConfigPreparation.h"
#include "programming/PgmDialog.h"
#include "programming/ProgrammingQuestions.h"
#include "programming/SteadyClock.h"
#include "report/PrintoutWin.h"
#include "system/GeneralDialog.h"
#include "system/ModbusDialog.h"
#include "users/UserDialog.h"
#include "users/UserWin.h"
#include "widgets/FileChooser.h"
#include "widgets/MessageService.h"
#include "widgets/QtText.h"
#include "widgets/WarningDialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTemporaryDir>

#include <algorithm>

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

// A box as it stands over a window: the window's picture with the box's near its foot,
// leaving the top of the window readable.
bool SaveOver(QWidget& window, QWidget& box, const QDir& folder, const QString& name)
{
    window.show();
    box.show();
    QApplication::processEvents();
    QPixmap picture = window.grab();
    const QPixmap over = box.grab();
    QPainter painter(&picture);
    painter.drawPixmap((picture.width() - over.width()) / 2, std::max(0, picture.height() - over.height() - 12),
                       over);
    painter.end();
    box.hide();
    window.hide();
    const QString path = folder.filePath(name + QStringLiteral(".png"));
    const bool saved = picture.save(path);
    std::fprintf(saved ? stdout : stderr, "%s %s\n", saved ? "wrote" : "cannot write", qPrintable(path));
    return saved;
}

// What the message service was last asked to show, drawn as the box it would be.
std::unique_ptr<QMessageBox> LastBox(const veskar::ScriptedMessageService& messages, QWidget* parent)
{
    const veskar::ScriptedMessageService::Box& box = messages.boxes.back();
    return veskar::QtMessageService::MakeBox(parent, box.caption, box.icon, box.buttons, box.text);
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
        // A few users with codes, the third one selected.
        veskar::Image& image = window.document().image;
        const char* const codes[][4] = {
            {"11", "12", "1999", "1D23"}, {"21", "22", "2999", ""}, {"31", "32", "", ""}};
        for (std::size_t user = 0; user < std::size(codes); ++user) {
            image.User[user].startCode = veskar::CodeFromText(codes[user][0]);
            image.User[user].stopCode = veskar::CodeFromText(codes[user][1]);
            image.User[user].emergencyCode = veskar::CodeFromText(codes[user][2]);
            image.User[user].interrogateCode = veskar::CodeFromText(codes[user][3]);
        }
        image.User[1].warningInterval = 120;
        auto* users = new veskar::UserWin(window);
        users->selectRow(2);
        ok = Save(*users, output, QStringLiteral("user-summary")) && ok;

        {
            auto list = users->users();
            veskar::UserDialog form(users, messages, list[2], 2, list, image.gen);
            form.field(veskar::UserField::UserName)->setText(QStringLiteral("Night shift"));
            ok = Save(form, output, QStringLiteral("user-settings")) && ok;

            form.field(veskar::UserField::StopCode)->setText(QStringLiteral("22"));
            messages.boxes.clear();
            form.accept();
            if (!messages.boxes.empty()) {
                const veskar::ScriptedMessageService::Box& box = messages.boxes.front();
                const auto refusal = veskar::QtMessageService::MakeBox(
                    &form, box.caption, box.icon, veskar::MessageService::Buttons::Ok, box.text);
                ok = Save(*refusal, output, QStringLiteral("user-settings-refusal")) && ok;
            }
        }
        users->close();
        delete users;
    }
    {
        // Directories A and C answer right after dialling, so ticking Call Progress advises.
        veskar::Image& image = window.document().image;
        const char lineA[] = "P12M&";
        const char lineC[] = "RP34M&";
        std::copy_n(lineA, sizeof lineA - 1, image.dir[0].begin());
        std::copy_n(lineC, sizeof lineC - 1, image.dir[2].begin());
        image.gen.useCallProgress = 0;
        image.gen.accessCode = veskar::CodeFromText("1D23");
        veskar::GeneralDialog general(&window, window.document(), messages, [&](QDialog& nested) {
            ok = Save(nested, output, QStringLiteral("modbus-settings")) && ok;
            return 0;
        });
        ok = Save(general, output, QStringLiteral("system-settings")) && ok;
        general.CmModbus();

        messages.boxes.clear();
        general.show();
        qobject_cast<QAbstractButton*>(general.control(312))->click();
        if (!messages.boxes.empty()) {
            const veskar::ScriptedMessageService::Box& box = messages.boxes.front();
            const auto advice = veskar::QtMessageService::MakeBox(
                &general, box.caption, box.icon, veskar::MessageService::Buttons::Ok, box.text);
            ok = Save(*advice, output, QStringLiteral("system-call-progress-advice")) && ok;
        }
        general.hide();
    }
    {
        // The dialog over a line that is never opened.
        struct IdleLine final : veskar::SerialLink {
            bool isOpen() const override { return false; }
            bool open(std::string&) override { return false; }
            void close() override {}
            void write(std::span<const veskar::Byte>) override {}
            void purge(unsigned) override {}
            void armTimer(veskar::Tick) override {}
        } line;
        veskar::SteadyClock clock;
        veskar::ProgrammingServices services{messages, files, window.cfg(), {}, work.path().toStdString(),
                                             false, [] { return std::time(nullptr); }};
        veskar::ProgrammingLine programming{line, clock, [](veskar::TransferEngine&) {},
                                            [](const std::string&) {},
                                            [](const std::string&) { return std::string("/dev/ttyUSB0"); }};
        veskar::PgmDialog program(&window, window.document(), std::move(services), std::move(programming));
        program.statusLine()->setText(QStringLiteral("Database transferred to the Corvane VWM"));
        ok = Save(program, output, QStringLiteral("programming")) && ok;

        veskar::ComDialog& progress = *program.progressWindow();
        progress.setActivity(QStringLiteral("Transmitting packet 37 of 120"));
        progress.setStatus(QString());
        progress.setPackets(36, 120, 51'000, 118'000);
        ok = Save(progress, output, QStringLiteral("transfer-progress")) && ok;

        // The unit holds another site name and acknowledge code than the configuration.
        veskar::Image inUnit = veskar::ExpectedInUnit(window.document().image);
        inUnit.gen.siteName = veskar::NameFromText("NORTH DEPOT");
        inUnit.gen.ackCode = veskar::CodeFromText("9");
        messages.boxes.clear();
        program.ShowVerifyResult(inUnit);
        ok = SaveOver(program, *LastBox(messages, &program), output, QStringLiteral("verify-result")) && ok;

        // The question that waits while the user reads the warnings.
        auto* summary = veskar::PrintoutWin::Open(window, veskar::SummaryMode::Warnings);
        (void)messages.Tell(&program, veskar::MessageKind::Question, veskar::Text(veskar::kContinueQuestion));
        ok = SaveOver(*summary, *LastBox(messages, &program), output, QStringLiteral("programming-question-over-summary")) && ok;
        summary->close();
    }
    {
        // Directory A with a dialled line, a radio line, a patch line and a wait line; the second selected.
        veskar::Image& image = window.document().image;
        const std::string lines = "P:1234567<VQ;=>&RF.12345UN&Z:555;Q<&W030&";
        std::copy(lines.begin(), lines.end(), image.dir[0].begin());
        image.dir[0][lines.size()] = 0;
        auto* directory = new veskar::DirWin(window, 0);
        directory->selectLine(1);
        ok = Save(*directory, output, QStringLiteral("directory-window")) && ok;

        veskar::Editline line;
        veskar::DirDialog editor(&window, messages, 0, 0, line, false);
        using enum veskar::LineCommand;
        for (veskar::LineCommand command : {Dial, Voice, Dtmf, Wait, Voice})
            editor.commandButton(command)->click();
        editor.valueField(0)->setText(QStringLiteral("0123-456 789"));
        editor.valueField(2)->setText(QStringLiteral("*9"));
        editor.valueField(3)->setText(QStringLiteral("255"));
        ok = Save(editor, output, QStringLiteral("directory-line")) && ok;

        messages.boxes.clear();
        messages.Script(veskar::MessageService::Answer::No);
        editor.accept();
        if (!messages.boxes.empty()) {
            const veskar::ScriptedMessageService::Box& box = messages.boxes.back();
            const auto refusal = veskar::QtMessageService::MakeBox(&editor, box.caption, box.icon, box.buttons,
                                                                   box.text);
            ok = Save(*refusal, output, QStringLiteral("directory-line-refusal")) && ok;
        }
        editor.hide();
        directory->close();
        delete directory;
    }
    {
        veskar::CopyDirDialog copy(&window, window.document(), messages);
        copy.from(0)->click();
        copy.to(1)->click();
        ok = Save(copy, output, QStringLiteral("copy-directory")) && ok;
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
            Service::MakeBox(&window, QString::fromLatin1(veskar::kQueryCaption), Service::Icon::Question,
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
