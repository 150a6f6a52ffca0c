#include "programming/PgmDialog.h"

#include "database/Document.h"
#include "programming/Backups.h"
#include "programming/ComDialog.h"
#include "programming/ConfigPreparation.h"
#include "programming/PgmTexts.h"
#include "programming/PortMap.h"
#include "programming/PortSettings.h"
#include "programming/ProgrammingQuestions.h"
#include "programming/TransferFiles.h"
#include "programming/TransferTexts.h"
#include "report/Listing.h"
#include "widgets/FileChooser.h"
#include "widgets/MessageService.h"
#include "widgets/QtText.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace veskar {

namespace {

using Answer = MessageService::Answer;
using Buttons = MessageService::Buttons;
using Icon = MessageService::Icon;

Icon IconFor(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Stop: return Icon::Stop;
    case MessageIcon::Exclamation: return Icon::Exclamation;
    case MessageIcon::None: break;
    }
    return Icon::None;
}

} // namespace

PgmDialog::PgmDialog(QWidget* parent, Document& document, ProgrammingServices services, ProgrammingLine line)
    : QDialog(parent), m_document(document), m_services(std::move(services)), m_line(std::move(line)),
      m_engine(m_line.link, m_line.clock, *this), m_progress(new ComDialog(this))
{
    setObjectName(QStringLiteral("PgmDialog"));
    setWindowTitle(QStringLiteral("PROGRAMMING"));
    // Modal over the main window only: the summary its questions open stands
    // apart and can be read while they wait.
    setWindowModality(Qt::WindowModal);
    setProperty("helpTopic", QStringLiteral("program.html"));
    m_line.attach(m_engine);

    const auto makeButton = [this](Button which, const char* label, int id, void (PgmDialog::*handler)()) {
        auto* button = new QPushButton(QString::fromLatin1(label), this);
        button->setObjectName(QStringLiteral("button%1").arg(id));
        connect(button, &QPushButton::clicked, this, handler);
        m_buttons[static_cast<std::size_t>(which)] = button;
        return button;
    };

    auto* configuration = new QGroupBox(QStringLiteral("Configuration"), this);
    auto* configButtons = new QVBoxLayout(configuration);
    configButtons->addWidget(
        makeButton(Button::ReadConfig, "&Read from Corvane", 719, &PgmDialog::CmReceiveData));
    configButtons->addWidget(
        makeButton(Button::WriteConfig, "&Write to Corvane", 706, &PgmDialog::CmSendData));
    configButtons->addWidget(makeButton(Button::Verify, "&Verify", 720, &PgmDialog::CmVerify));

    auto* voices = new QGroupBox(QStringLiteral("Voices"), this);
    auto* voiceButtons = new QVBoxLayout(voices);
    voiceButtons->addWidget(
        makeButton(Button::ReadVoices, "Read &From Corvane", 717, &PgmDialog::CmReceiveVoice));
    voiceButtons->addWidget(
        makeButton(Button::WriteVoices, "Write &to Corvane", 713, &PgmDialog::CmSendVoice));
    voiceButtons->addWidget(
        makeButton(Button::WriteVocab, "Write Vocabulary", 701, &PgmDialog::CmWriteVocab));

    auto* port = new QGroupBox(QStringLiteral("Serial Port"), this);
    auto* portLayout = new QVBoxLayout(port);
    m_ports = new QComboBox(port);
    m_ports->setObjectName(QStringLiteral("combo301"));
    portLayout->addWidget(m_ports);
    m_traceBox = new QCheckBox(QStringLiteral("Save a trace of the line"), port);
    m_traceBox->setObjectName(QStringLiteral("check302"));
    m_traceBox->setToolTip(Text(std::string("Appends every frame to ") + std::string(kTraceFileName) +
                                " in the working folder"));
    portLayout->addWidget(m_traceBox);

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("static351"));
    m_status->setMinimumWidth(360);
    m_status->setFrameShape(QFrame::StyledPanel);

    auto* okCancel = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(okCancel, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(okCancel, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QGridLayout(this);
    layout->addWidget(configuration, 0, 0);
    layout->addWidget(voices, 0, 1, 2, 1);
    layout->addWidget(port, 1, 0);
    layout->addWidget(m_status, 2, 0, 1, 2);
    layout->addWidget(okCancel, 3, 0, 1, 2);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_progress, &ComDialog::stopRequested, this, [this] { AskToStop(); });
    SetupWindow();
}

PgmDialog::~PgmDialog()
{
    if (m_line.link.isOpen())
        m_line.link.close();
}

void PgmDialog::SetupWindow()
{
    for (int i = 0; i < kPortCount; ++i)
        m_ports->addItem(Text(PortListLabel(i, m_line.device(PortName(i)))));
    const int index = m_services.cfg.portIndex();
    m_ports->setCurrentIndex(index);
    m_line.choosePort(PortName(index));
    connect(m_ports, &QComboBox::currentIndexChanged, this, &PgmDialog::CmComPort);
    m_traceBox->setChecked(m_services.traceLine);
    connect(m_traceBox, &QCheckBox::toggled, this, [this](bool on) {
        if (m_services.rememberTrace)
            m_services.rememberTrace(on);
    });
}

void PgmDialog::CmComPort(int index)
{
    m_services.cfg.setPortIndex(index);
    if (!WritePortSettings(m_services.folder / kPortSettingsFile, m_services.cfg))
        m_services.messages.Show(nullptr, Text(texts::kCaptionFileError), Icon::Exclamation, Buttons::Ok,
                                 Text(texts::kCannotOpenCfg));
    if (m_line.link.isOpen()) {
        m_line.link.purge(kPurgeRxClear | kPurgeTxClear);
        m_line.link.close();
    }
    m_line.choosePort(PortName(index));
}

// ---- starting transfers ----

void PgmDialog::EnableTransfers(bool enabled)
{
    for (QPushButton* button : m_buttons)
        button->setEnabled(enabled);
    m_ports->setEnabled(enabled);
    m_traceBox->setEnabled(enabled);
}

bool PgmDialog::Begin(std::string_view what, const std::function<bool()>& start)
{
    OpenTrace(what);
    const bool started = start();
    if (started)
        EnableTransfers(false);
    else
        CloseTrace();
    return started;
}

void PgmDialog::CloseTrace()
{
    m_engine.setLineWatcher(nullptr);
    if (!m_trace.Close())
        m_services.messages.FileError(this, Text(TraceIncompleteText(m_services.folder / kTraceFileName)));
}

// A trace that cannot be written is reported; the transfer goes on without it.
void PgmDialog::OpenTrace(std::string_view what)
{
    if (!m_traceBox->isChecked())
        return;
    const std::filesystem::path path = m_services.folder / kTraceFileName;
    const std::string heading =
        std::string(what) + " on " + PortLabel(PortName(m_services.cfg.portIndex()),
                                               m_line.device(PortName(m_services.cfg.portIndex())));
    if (m_trace.Open(path, heading, m_line.clock, m_services.now()))
        m_engine.setLineWatcher(m_trace.watcher());
    else
        m_services.messages.FileError(this, Text(TraceFailureText(path, m_trace.problem())));
}

void PgmDialog::CmReceiveData()
{
    if (m_engine.busy())
        return;
    m_status->clear();
    Begin("read configuration", [this] { return m_engine.StartConfigRead(m_document.image); });
}

void PgmDialog::CmSendData()
{
    if (m_engine.busy())
        return;
    m_status->clear();
    if (CheckWarnings()) {
        reject();
        return;
    }
    Begin("write configuration", [this] { return m_engine.StartConfigWrite(m_document.image); });
}

void PgmDialog::CmReceiveVoice()
{
    if (m_engine.busy())
        return;
    m_status->clear();
    Begin("read voices", [this] { return m_engine.StartVoiceRead(OpenVoiceStore(m_services.folder)); });
}

void PgmDialog::CmSendVoice()
{
    if (m_engine.busy())
        return;
    m_status->clear();
    const auto file = m_services.files.OpenFile(parentWidget(), VoiceFiles(), Text(texts::kVoiceDefaultName));
    if (file)
        Begin("write voices", [&] { return m_engine.StartVoiceWrite(OpenSendFile(file->toStdString())); });
}

void PgmDialog::CmWriteVocab()
{
    if (m_engine.busy())
        return;
    for (std::string_view question : {texts::kVocabWarning, texts::kVocabAreYouSure}) {
        if (m_services.messages.Show(this, Text(texts::kCaptionWarning), Icon::Stop, Buttons::YesNo,
                                     Text(question)) != Answer::Yes)
            return;
    }
    m_status->clear();
    const auto file =
        m_services.files.OpenFile(parentWidget(), VocabularyFiles(), Text(texts::kVocabDefaultName));
    if (file)
        Begin("write vocabulary", [&] { return m_engine.StartVocabWrite(OpenSendFile(file->toStdString())); });
}

void PgmDialog::CmVerify()
{
    if (m_engine.busy())
        return;
    m_status->clear();
    m_verifying.emplace();
    if (!Begin("verify", [this] { return m_engine.StartConfigRead(*m_verifying); }))
        m_verifying.reset();
}

void PgmDialog::ShowVerifyResult(const Image& inUnit)
{
    const std::vector<FieldDifference> differences = CompareImages(ExpectedInUnit(m_document.image), inUnit);
    QString text = Text(differences.empty() ? kUnitMatches : kUnitDiffers);
    for (std::size_t i = 0; i < differences.size() && i < kDifferencesListed; ++i) {
        const FieldDifference& d = differences[i];
        text += QStringLiteral("\n%1: %2 -> %3")
                    .arg(Latin1Text(d.name), Latin1Text(d.before), Latin1Text(d.after));
    }
    if (differences.size() > kDifferencesListed)
        text += QStringLiteral("\n... and %1 more").arg(differences.size() - kDifferencesListed);
    m_services.messages.Show(this, Text(kVerifyCaption),
                             differences.empty() ? Icon::Information : Icon::Exclamation, Buttons::Ok, text);
}

bool PgmDialog::AskSummaryThenContinue(const QString& question)
{
    if (m_services.messages.Tell(this, MessageKind::Question, question) != Answer::Yes)
        return false;
    if (m_services.showWarnings)
        m_services.showWarnings();
    return true;
}

bool PgmDialog::CheckWarnings()
{
    const QString continueQuestion = Text(kContinueQuestion);
    const std::vector<std::string_view> questions = MissingItemQuestions(m_document.image);
    for (std::string_view question : questions) {
        if (AskSummaryThenContinue(Text(question)) &&
            m_services.messages.Tell(this, MessageKind::Question, continueQuestion) != Answer::Yes)
            return true;
    }
    return questions.empty() && AskSummaryThenContinue(Text(kCheckSummaryQuestion)) &&
           m_services.messages.Tell(this, MessageKind::Question, continueQuestion) != Answer::Yes;
}

void PgmDialog::Backup(const Image& image, bool written)
{
    if (!m_services.keepBackups)
        return;
    const BackupResult result = WriteBackup(m_services.folder, image,
                                            written ? BackupKind::Write : BackupKind::Read, m_services.now());
    if (result.error != FileError::None)
        m_services.messages.FileError(this, Text(BackupFailureText(result)));
}

// ---- stopping and leaving ----

// The transfer goes on while the question waits. It is asked again when what
// a stop would leave behind changed meanwhile, and it closes itself when the
// transfer ends, whose status line then says how.
bool PgmDialog::AskToStop()
{
    std::string_view asked = m_engine.stopConsequence();
    while (!asked.empty()) {
        m_stopQuestionOwner = m_progress->isVisible() ? static_cast<QWidget*>(m_progress) : this;
        // Once the unit holds part of the new data, Enter keeps the transfer going.
        const Buttons buttons = m_engine.stopEffect() == StopEffect::LeavesPartial ? Buttons::YesNoSafe : Buttons::YesNo;
        const Answer answer = m_services.messages.Show(m_stopQuestionOwner, QString::fromLatin1(kWarningCaption), Icon::Exclamation,
                                                       buttons, Text(kStopQuestion) + QChar('\n') + Text(asked));
        m_stopQuestionOwner = nullptr;
        if (answer != Answer::Yes)
            return false;
        const std::string_view now = m_engine.stopConsequence();
        if (now == asked) {
            m_engine.Stop();
            return true;
        }
        asked = now;
    }
    return !m_engine.busy();
}

// OK, Cancel and Escape: a running transfer is stopped first (one that is all
// but over is let finish), and the dialog closes once it has ended on the line.
void PgmDialog::done(int result)
{
    if (m_engine.busy()) {
        if (m_engine.stoppable() && !AskToStop())
            return;
        if (m_engine.busy()) {
            m_closeWith = result;
            return;
        }
    }
    QDialog::done(result);
}

void PgmDialog::closeEvent(QCloseEvent* event)
{
    event->ignore();
    done(QDialog::Rejected);
}

// ---- what the engine reports ----

void PgmDialog::ProgressShown(bool shown)
{
    if (shown) {
        m_progress->setActivity({});
        m_progress->setStatus({});
        m_progress->setPackets(0, 1, 0, std::nullopt);
        m_startedAt = m_line.clock.now();
        m_pace = PacketPace();
        m_progress->show();
    } else {
        m_progress->hide();
    }
}

void PgmDialog::Activity(std::string_view text)
{
    m_progress->setActivity(Latin1Text(text));
}

void PgmDialog::Status(std::string_view text)
{
    m_progress->setStatus(Latin1Text(text));
}

void PgmDialog::DialogStatus(std::string_view text)
{
    m_status->setText(Latin1Text(text));
}

void PgmDialog::PacketsDone(int done, int total)
{
    const auto elapsed = static_cast<qint64>(m_line.clock.now() - m_startedAt);
    m_pace.Done(done, total, elapsed);
    m_progress->setPackets(done, total, elapsed, m_pace.LeftMs());
}

void PgmDialog::Message(std::string_view caption, MessageIcon icon, std::string_view text)
{
    m_services.messages.Show(this, Latin1Text(caption), IconFor(icon), Buttons::Ok, Latin1Text(text));
}

std::optional<std::filesystem::path> PgmDialog::ChooseVoiceSaveFile()
{
    const auto file = m_services.files.SaveFile(this, VoiceFiles(), Text(texts::kVoiceDefaultName));
    if (!file)
        return std::nullopt;
    return std::filesystem::path(file->toStdString());
}

// What was read is the configuration now, and not yet in any file.
void PgmDialog::ConfigurationRead()
{
    if (m_verifying)
        return;
    m_document.DatabaseChanged = true;
    Backup(m_document.image, false);
}

// Kept only once the unit may hold it, and exactly as it went out.
void PgmDialog::ConfigurationDelivered(const Image& sent)
{
    Backup(sent, true);
}

void PgmDialog::TransferEnded(TransferResult result)
{
    CloseTrace();
    EnableTransfers(true);
    if (m_stopQuestionOwner)
        m_services.messages.Dismiss(m_stopQuestionOwner);
    if (m_verifying) {
        const Image inUnit = *m_verifying;
        m_verifying.reset();
        if (result == TransferResult::Succeeded)
            ShowVerifyResult(inUnit);
    }
    if (m_closeWith) {
        const int result = *m_closeWith;
        m_closeWith.reset();
        QMetaObject::invokeMethod(
            this, [this, result] { QDialog::done(result); }, Qt::QueuedConnection);
    }
}

} // namespace veskar
