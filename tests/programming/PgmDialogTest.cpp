#include "../app/QtPrint.h"
#include "EngineFixture.h"

#include "database/Codes.h"
#include "database/DataFile.h"
#include "database/Document.h"
#include "directories/CommandTable.h"
#include "programming/Backups.h"
#include "programming/ComDialog.h"
#include "programming/PgmDialog.h"
#include "programming/PgmTexts.h"
#include "programming/ProgrammingQuestions.h"
#include "programming/TransferTexts.h"
#include "widgets/FileChooser.h"
#include "widgets/MessageService.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>

namespace veskar::testing {
namespace {

using Answer = MessageService::Answer;
using Button = PgmDialog::Button;

QString Q(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QString StopQuestion(std::string_view consequence)
{
    return Q(kStopQuestion) + QChar('\n') + Q(consequence);
}

// The dialog over the simulated unit on a virtual line.
struct ProgrammingBench {
    ProgrammingBench()
    {
        document.CreateDatabase();
        document.image.gen.ackCode = CodeFromText("55");
        document.image.gen.accessCode = CodeFromText("66");
        document.image.dir[0].fill(0);
        document.image.dir[0][0] = kOpDial;
        document.DatabaseChanged = false;
        cfg.setPortIndex(1);
    }

    PgmDialog& Open()
    {
        ProgrammingServices services{messages,
                                     files,
                                     cfg,
                                     [this] { ++summariesShown; },
                                     dir.path,
                                     true,
                                     [] { return std::time_t{1'796'000'000}; },
                                     traceLine,
                                     [this](bool on) { traceRemembered.push_back(on); }};
        ProgrammingLine programming{line, clock, [this](TransferEngine& engine) { line.attach(engine); },
                                    [this](const std::string& name) { chosenPorts.push_back(name); },
                                    [](const std::string&) { return std::string("simulated"); }};
        dialog = std::make_unique<PgmDialog>(nullptr, document, std::move(services), std::move(programming));
        dialog->show();
        return *dialog;
    }

    void RunTransfer()
    {
        ASSERT_TRUE(line.run()) << "the transfer did not end";
        QCoreApplication::processEvents();
    }

    [[nodiscard]] QStringList Texts() const { return messages.Texts(); }
    [[nodiscard]] std::vector<std::filesystem::path> Backups() const
    {
        std::vector<std::filesystem::path> names;
        if (std::filesystem::exists(dir.path / "backups"))
            for (const auto& entry : std::filesystem::directory_iterator(dir.path / "backups"))
                names.push_back(entry.path().filename());
        return names;
    }

    Document document;
    PortSettings cfg;
    ScriptedMessageService messages;
    ScriptedFileChooser files;
    TempDir dir;
    UnitMemory memory = UnitMemory::Fresh();
    std::optional<SimulatedUnit> unit{std::in_place, memory};
    VirtualClock clock;
    VirtualLine line{clock, [this](std::span<const Byte> frame) { return unit->receive(frame); }};
    std::vector<std::string> chosenPorts;
    int summariesShown = 0;
    bool traceLine = false;
    std::vector<bool> traceRemembered;
    std::unique_ptr<PgmDialog> dialog;
};

class PgmDialogTest : public ::testing::Test, public ProgrammingBench {};

TEST_F(PgmDialogTest, OpensOnTheStoredPortAndSavesANewChoice)
{
    Open();
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("PROGRAMMING"));
    EXPECT_EQ(dialog->portList()->count(), 8);
    EXPECT_EQ(dialog->portList()->currentText(), QStringLiteral("COM 2 (simulated)"));
    dialog->portList()->setCurrentIndex(4);
    EXPECT_EQ(chosenPorts, (std::vector<std::string>{"COM2", "COM5"}));
    const auto saved = ReadPortSettings(dir.path / kPortSettingsFile);
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->portIndex(), 4);
}

TEST_F(PgmDialogTest, PreProgrammingQuestionsDecideWhetherAnythingIsSent)
{
    struct Case {
        const char* what;
        void (*configure)(Image&);
        std::vector<Answer> answers;
        QStringList asked;
        int summaries;
        bool sent;
    };
    const QString general = Q(kCheckSummaryQuestion);
    const QString goOn = Q(kContinueQuestion);
    const Case cases[] = {
        {"everything set: the general question only", [](Image&) {}, {Answer::No}, {general}, 0, true},
        {"general question, summary, then stop",
         [](Image&) {},
         {Answer::Yes, Answer::No},
         {general, goOn},
         1,
         false},
        {"no acknowledge code: one question, No goes on",
         [](Image& image) { image.gen.ackCode = CodeField{}; },
         {Answer::No},
         {Q(kNoAckCodeQuestion)},
         0,
         true},
        {"every question, summary, continue each time",
         [](Image& image) {
             image.gen.ackCode = CodeField{};
             image.gen.accessCode = CodeField{};
             image.dir[0].fill(0);
         },
         {Answer::Yes, Answer::Yes, Answer::No, Answer::Yes, Answer::Yes},
         {Q(kNoAckCodeQuestion), goOn, Q(kNoAccessCodeQuestion), Q(kNoPhoneQuestion), goOn},
         2,
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ProgrammingBench t;
        c.configure(t.document.image);
        for (Answer answer : c.answers)
            t.messages.Script(answer);
        t.Open();
        t.dialog->button(Button::WriteConfig)->click();
        EXPECT_EQ(t.Texts(), c.asked);
        EXPECT_EQ(t.summariesShown, c.summaries);
        if (c.sent) {
            t.RunTransfer();
            EXPECT_EQ(t.dialog->statusLine()->text(), Q(texts::kDatabaseTransferred));
            EXPECT_EQ(t.Backups().size(), 1u);
        } else {
            EXPECT_FALSE(t.dialog->isVisible());
            EXPECT_TRUE(t.line.frames.empty());
            EXPECT_TRUE(t.Backups().empty());
        }
    }
}

TEST_F(PgmDialogTest, ReadReplacesTheImageMarksItChangedAndKeepsABackup)
{
    Image theirs = document.image;
    theirs.gen.siteName.fill('R');
    std::ranges::copy(theirs.bytes(), memory.configuration.begin());
    Open();
    dialog->button(Button::ReadConfig)->click();
    for (Button b : {Button::ReadConfig, Button::WriteConfig, Button::Verify, Button::ReadVoices,
                     Button::WriteVoices, Button::WriteVocab})
        EXPECT_FALSE(dialog->button(b)->isEnabled());
    EXPECT_FALSE(dialog->portList()->isEnabled());
    EXPECT_TRUE(dialog->progressWindow()->isVisible());
    RunTransfer();

    EXPECT_EQ(dialog->statusLine()->text(), Q(texts::kConfigurationRead));
    EXPECT_EQ(document.image.gen.siteName, theirs.gen.siteName);
    EXPECT_TRUE(document.DatabaseChanged);
    EXPECT_TRUE(dialog->button(Button::ReadConfig)->isEnabled());
    EXPECT_FALSE(dialog->progressWindow()->isVisible());
    ASSERT_EQ(Backups().size(), 1u);
    EXPECT_TRUE(Backups()[0].string().ends_with("-read.dat"));
    Image backup;
    ASSERT_EQ(ReadImageFile(dir.path / "backups" / Backups()[0], backup, SizeRule::Exact), FileError::None);
    EXPECT_EQ(backup, document.image);
}

TEST_F(PgmDialogTest, AFailureThatSaidWhyOnlyInTheProgressWindowSaysItInTheStatusLine)
{
    unit.emplace(memory, UnitFaults{.cutAfterBytes = 20}); // the data's answer is cut short
    const Image before = document.image;
    Open();
    dialog->button(Button::ReadConfig)->click();
    RunTransfer();
    EXPECT_EQ(dialog->statusLine()->text(),
              QStringLiteral("Transfer failed at packet number 1\n") + Q(texts::kLineWentDead));
    EXPECT_EQ(document.image, before);

    unit.emplace(memory, UnitFaults{.silent = true}); // says so in the status line itself
    messages.Script(Answer::No);
    dialog->button(Button::WriteConfig)->click();
    RunTransfer();
    EXPECT_EQ(dialog->statusLine()->text(), Q(texts::kCheckConnection) + QChar('\n') + Q(texts::kLineSilent));
    EXPECT_TRUE(Backups().empty()) << "nothing reached the unit, so nothing was sent to keep";
}

TEST_F(PgmDialogTest, TraceIsAppendedPerTransferOnlyWhileTheBoxIsTicked)
{
    traceLine = true;
    Open();
    EXPECT_TRUE(dialog->traceBox()->isChecked());
    const std::filesystem::path trace = dir.path / kTraceFileName;
    for (int i = 0; i < 2; ++i) {
        dialog->button(Button::ReadConfig)->click();
        EXPECT_FALSE(dialog->traceBox()->isEnabled());
        RunTransfer();
    }
    const std::string first = "# " + LocalTimeStamp(1'796'000'000) + " read configuration on COM2 (simulated)\n";
    const std::vector<Byte> bytes = ReadFile(trace);
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_TRUE(text.starts_with(first)) << text;
    EXPECT_NE(text.find(first, 1), std::string::npos) << "the second read is appended";
    EXPECT_NE(text.find(" UNIT 16 01 20 00 00"), std::string::npos) << "the block the unit sent";

    dialog->traceBox()->setChecked(false);
    EXPECT_EQ(traceRemembered, std::vector<bool>{false});
    const auto size = std::filesystem::file_size(trace);
    dialog->button(Button::ReadConfig)->click();
    RunTransfer();
    EXPECT_EQ(std::filesystem::file_size(trace), size);
}

TEST_F(PgmDialogTest, StopAsksThenLeavesImageAndUnitAsTheyWere)
{
    const Image before = document.image;
    const UnitMemory unitBefore = memory;
    Open();
    dialog->button(Button::ReadConfig)->click();
    EXPECT_FALSE(line.run(500));

    messages.Script(Answer::No);
    dialog->progressWindow()->stopButton()->click();
    EXPECT_TRUE(dialog->transferRunning());

    messages.Script(Answer::Yes);
    dialog->progressWindow()->stopButton()->click();
    RunTransfer();
    EXPECT_EQ(Texts(), (QStringList{StopQuestion(texts::kStopChangesNothing), StopQuestion(texts::kStopChangesNothing)}));
    EXPECT_EQ(dialog->statusLine()->text(), Q(texts::kReadStopped));
    EXPECT_EQ(document.image, before);
    EXPECT_FALSE(document.DatabaseChanged);
    EXPECT_EQ(memory, unitBefore);
    EXPECT_TRUE(Backups().empty());
}

// The transfer goes on under the question: a Yes given after it took data asks
// again with the new stakes, and a question still open at the end closes itself.
TEST_F(PgmDialogTest, StopQuestionFollowsTheTransferWhileItWaits)
{
    WriteFile(dir.path / "new.msg", Pattern(3 * kBlockSize, 6));
    files.Script(QString::fromStdString((dir.path / "new.msg").string()));
    Open();
    dialog->button(Button::WriteVoices)->click();
    EXPECT_FALSE(line.run(500));

    messages.Script(Answer::Yes, [this] {
        line.run(3'600'000, [this] { return dialog->progressWindow()->activity()->text() == Q(texts::kWaitingForVoiceMemory); });
    });
    messages.Script(Answer::Yes, [this] { RunTransfer(); });
    dialog->progressWindow()->stopButton()->click();

    EXPECT_EQ(Texts(), (QStringList{StopQuestion(texts::kStopChangesNothing), StopQuestion(texts::kStopLeavesVoicesPartial)}));
    EXPECT_EQ(messages.dismissed, 1);
    EXPECT_EQ(messages.boxes[1].buttons, MessageService::Buttons::YesNoSafe) << "Enter lets a write that has begun finish";
    EXPECT_EQ(dialog->statusLine()->text(), Q(texts::kVoicesTransferred));
    EXPECT_EQ(memory.voices, Pattern(3 * kBlockSize, 6));
}

TEST_F(PgmDialogTest, LeavingDuringATransferStopsItAndClosesOnceItHasEnded)
{
    Open();
    messages.Script(Answer::No);
    dialog->button(Button::WriteConfig)->click();
    EXPECT_FALSE(line.run(500));

    messages.Script(Answer::Yes);
    dialog->reject();
    EXPECT_TRUE(dialog->isVisible()) << "the end of the transfer has still to go out";
    RunTransfer();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(line.pcCommands().back(), kCmdEndOfTransfer);
}

TEST_F(PgmDialogTest, VocabularyAsksTwiceAndVoicesAreSavedWhereTheUserSays)
{
    Open();
    messages.Script(Answer::Yes);
    messages.Script(Answer::No);
    dialog->button(Button::WriteVocab)->click();
    EXPECT_EQ(Texts(), (QStringList{Q(texts::kVocabWarning), Q(texts::kVocabAreYouSure)}));
    EXPECT_TRUE(files.calls.empty());
    EXPECT_EQ(messages.boxes[1].caption, QStringLiteral("WARNING"));
    EXPECT_EQ(messages.boxes[1].icon, MessageService::Icon::Stop);

    const auto target = dir.path / "kept.msg";
    files.Script(QString::fromStdString(target.string()));
    dialog->button(Button::ReadVoices)->click();
    RunTransfer();
    ASSERT_EQ(files.calls.size(), 1u);
    EXPECT_EQ(files.calls[0].preset, QStringLiteral("veskar.msg"));
    EXPECT_EQ(files.calls[0].filter, QStringLiteral("Voice files (*.msg)"));
    EXPECT_EQ(ReadFile(target), memory.voices);
    EXPECT_EQ(dialog->statusLine()->text(), Q(texts::kVoiceDataRead));
}

TEST_F(PgmDialogTest, VerifyTellsHowTheUnitDiffersAndChangesNothing)
{
    Open();
    messages.Script(Answer::No);
    dialog->button(Button::WriteConfig)->click();
    RunTransfer();
    ASSERT_EQ(Backups().size(), 1u);
    Image backup;
    ASSERT_EQ(ReadImageFile(dir.path / "backups" / Backups()[0], backup, SizeRule::Exact), FileError::None);
    std::vector<Byte> sent(kBlockSize, 0);
    std::ranges::copy(backup.bytes(), sent.begin());
    EXPECT_EQ(sent, memory.configuration) << "the backup holds what the unit was sent";
    const Image edited = document.image;
    document.DatabaseChanged = false;
    messages.boxes.clear();

    dialog->button(Button::Verify)->click();
    RunTransfer();
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].caption, QStringLiteral("Verify"));
    EXPECT_EQ(messages.boxes[0].text, Q(kUnitMatches));

    memory.configuration[offsetof(Image, gen) + offsetof(SystemBlock, siteName)] = 'Z';
    messages.boxes.clear();
    dialog->button(Button::Verify)->click();
    RunTransfer();
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_TRUE(messages.boxes[0].text.startsWith(Q(kUnitDiffers))) << messages.boxes[0].text.toStdString();
    EXPECT_TRUE(messages.boxes[0].text.contains(QStringLiteral("siteName")))
        << messages.boxes[0].text.toStdString();
    EXPECT_EQ(document.image, edited);
    EXPECT_FALSE(document.DatabaseChanged);
    EXPECT_EQ(Backups().size(), 1u) << "a verify keeps no backup";
}

} // namespace
} // namespace veskar::testing
