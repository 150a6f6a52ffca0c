#pragma once

// The Programming dialog: every transfer to and from the unit starts here.
// It drives the event-driven transfer engine, shows its progress in a
// ComDialog and its results in the status line, and asks before a
// configuration goes out whether the user wants to read the warnings first.
// While a transfer runs nothing can start another, and leaving asks first.

#include "programming/PacketPace.h"
#include "programming/PortSettings.h"
#include "programming/TraceFile.h"
#include "programming/TransferEngine.h"

#include <QDialog>

#include <array>
#include <ctime>
#include <filesystem>
#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace veskar {

class ComDialog;
class FileChooser;
class MessageService;
class Document;

// The serial line the dialog programs through, and how it follows the port list.
struct ProgrammingLine {
    SerialLink& link;
    const Clock& clock;
    // Routes the line's events into the engine.
    std::function<void(TransferEngine&)> attach;
    // The port chosen in the list ("COM1" .. "COM8") becomes the line's device.
    std::function<void(const std::string& portName)> choosePort;
    // The device the port name ("COM1") stands for: "/dev/ttyUSB0".
    std::function<std::string(const std::string& portName)> device;
};

struct ProgrammingServices {
    MessageService& messages;
    FileChooser& files;
    // The port choice, written to "Veskar.cfg" when it changes.
    PortSettings& cfg;
    // Opens the summary on its warnings page, readable while the questions wait.
    std::function<void()> showWarnings;
    // Where "Veskar.cfg" and the backups live.
    std::filesystem::path folder;
    bool keepBackups = true;
    std::function<std::time_t()> now = [] { return std::time(nullptr); };
    // "Save a trace of the line": its first state, and where a change is remembered.
    bool traceLine = false;
    std::function<void(bool)> rememberTrace = {};
};

class PgmDialog : public QDialog, private TransferObserver {
    Q_OBJECT
  public:
    enum class Button { ReadConfig, WriteConfig, Verify, ReadVoices, WriteVoices, WriteVocab };

    PgmDialog(QWidget* parent, Document& document, ProgrammingServices services, ProgrammingLine line);
    ~PgmDialog() override;

    [[nodiscard]] QPushButton* button(Button which) const
    {
        return m_buttons.at(static_cast<std::size_t>(which));
    }
    [[nodiscard]] QComboBox* portList() const { return m_ports; }
    [[nodiscard]] QLabel* statusLine() const { return m_status; }
    [[nodiscard]] QCheckBox* traceBox() const { return m_traceBox; }
    [[nodiscard]] ComDialog* progressWindow() const { return m_progress; }
    [[nodiscard]] bool transferRunning() const { return m_engine.busy(); }

    void CmReceiveData();
    void CmSendData();
    void CmReceiveVoice();
    void CmSendVoice();
    void CmWriteVocab();
    // Reads the unit's configuration and tells how it differs from the one being edited.
    void CmVerify();
    // True means: do not program.
    [[nodiscard]] bool CheckWarnings();
    // Asks whether to stop a running transfer; true when the user agreed or
    // nothing is running.
    bool AskToStop();
    // Tells how the configuration the unit sent differs from the one being edited.
    void ShowVerifyResult(const Image& inUnit);

  public slots:
    void done(int result) override;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void SetupWindow();
    void CmComPort(int index);
    // Starts a transfer through `start`, traced when the user asked for it.
    bool Begin(std::string_view what, const std::function<bool()>& start);
    void OpenTrace(std::string_view what);
    void CloseTrace();
    void EnableTransfers(bool enabled);
    [[nodiscard]] bool AskSummaryThenContinue(const QString& question);
    void Backup(const Image& image, bool written);

    // TransferObserver
    void ProgressShown(bool shown) override;
    void Activity(std::string_view text) override;
    void Status(std::string_view text) override;
    void DialogStatus(std::string_view text) override;
    void PacketsDone(int done, int total) override;
    void Message(std::string_view caption, MessageIcon icon, std::string_view text) override;
    std::optional<std::filesystem::path> ChooseVoiceSaveFile() override;
    void ConfigurationRead() override;
    void ConfigurationDelivered(const Image& sent) override;
    void TransferEnded(TransferResult result) override;

    Document& m_document;
    ProgrammingServices m_services;
    ProgrammingLine m_line;
    TransferEngine m_engine;
    ComDialog* m_progress;
    QComboBox* m_ports = nullptr;
    QCheckBox* m_traceBox = nullptr;
    TraceFile m_trace;
    QLabel* m_status = nullptr;
    std::array<QPushButton*, 6> m_buttons{};
    Tick m_startedAt = 0;
    PacketPace m_pace;
    QWidget* m_stopQuestionOwner = nullptr; // while the stop question is open
    std::optional<int> m_closeWith;   // the result to close with once the transfer has ended
    std::optional<Image> m_verifying; // what the unit sends during a Verify
};

} // namespace veskar
