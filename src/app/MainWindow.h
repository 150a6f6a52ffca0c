#pragma once

// The main window: menus, toolbar and status bar built from the command table,
// the document and its file commands, the delayed start-up notices and the
// recent-files list. Every command runs the handler registered for it; the
// editors register theirs (app/EditorCommands.cpp), and a command without a
// handler is shown greyed.

#include "app/Commands.h"
#include "app/HelpMode.h"
#include "app/HelpWindow.h"
#include "database/DataFile.h"
#include "database/Document.h"
#include "programming/PortSettings.h"
#include "widgets/EditorHost.h"
#include "widgets/FlagsModel.h"

#include <QHash>
#include <QList>
#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <unordered_map>

class QDialog;
class QLabel;
class QMenu;
class QToolBar;

namespace veskar {

class FileChooser;
class MessageService;

class MainWindow : public QMainWindow, public EditorHost {
    Q_OBJECT
  public:
    MainWindow(MessageService& messages, FileChooser& files, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Start-up loading of "Veskar.cfg" and "Veskar.dat" from the working directory.
    void InitFile();

    // EditorHost
    [[nodiscard]] QWidget& frame() override { return *this; }
    [[nodiscard]] Document& document() override { return m_document; }
    // The port settings record; the programming dialog changes and rewrites it.
    [[nodiscard]] PortSettings& cfg() { return m_cfg; }
    [[nodiscard]] unsigned startupFailures() const { return m_startupFailures; }
    [[nodiscard]] FlagsModel& flags() override { return m_flags; }
    [[nodiscard]] MessageService& messages() override { return m_messages; }
    [[nodiscard]] FileChooser& files() override { return m_files; }
    int runDialog(QDialog& dialog) override { return m_runDialog(dialog); }
    void addEditorWindow(QWidget* window) override;
    [[nodiscard]] const QList<QPointer<QWidget>>& editorWindows() const override { return m_editorWindows; }
    void touchDocument() override { emit documentTouched(); }
    void whenDocumentTouched(QObject* receiver, std::function<void()> follow) override;
    void showHint(const QString& text) override;
    [[nodiscard]] bool commandEnabled(CommandId id) const override;
    void runCommand(int id) override;

    [[nodiscard]] QAction* action(CommandId id) const { return m_actions.value(static_cast<int>(id)); }
    [[nodiscard]] QMenu* fileMenu() const { return m_fileMenu; }
    [[nodiscard]] QList<QAction*> menuBarTwins() const { return m_menuBarTwins; }
    [[nodiscard]] QToolBar* toolBar() const { return m_toolBar; }
    [[nodiscard]] QStringList recentFiles() const { return m_recent; }
    [[nodiscard]] QList<QAction*> recentActions() const { return m_recentActions; }
    [[nodiscard]] HelpWindow* helpWindow() const { return m_helpMode.helpWindow(); }

    // Milliseconds since start; tests replace the clock of the start-up notices.
    void setClock(std::function<qint64()> clock) { m_clock = std::move(clock); }
    // How modal dialogs are run (exec by default); tests drive them instead.
    void setDialogRunner(std::function<int(QDialog&)> runner) { m_runDialog = std::move(runner); }

    // What a command does; a command with no handler stays greyed.
    void setCommandHandler(CommandId id, std::function<void()> handler);


    void CmFileOpen();
    void CmFileSave();
    bool CmFileSaveAs(); // true when a file was written
    void CmDefaultData();
    void CmClearData();
    void openRecent(const QString& name);

    // Help.
    void showHelp(const QString& topic) { m_helpMode.showHelp(topic); }
    [[nodiscard]] bool inHelpMode() const { return m_helpMode.active(); }
    void enterHelpMode() { m_helpMode.enter(); }
    void leaveHelpMode() { m_helpMode.leave(); }

  signals:
    // The document may have changed: a file opened or erased, an editor closed.
    void documentTouched();

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void RegisterFileCommands();
    void BuildMenus();
    void BuildToolBar();
    void UpdateCommands();
    void UpdateTitle();
    [[nodiscard]] bool CanClose();
    [[nodiscard]] bool DataGone();
    void ReadFile(const QString& name);
    // The erase query of Default Database and the clear command.
    void EraseAfterQuery(void (Document::*erase)());
    void ShowStartupNotices();
    void ShowFileError(FileError error);

    void Remember(const QString& name);
    void RebuildRecentMenu();

    MessageService& m_messages;
    FileChooser& m_files;
    Document m_document;
    PortSettings m_cfg;
    unsigned m_startupFailures = 0;
    FlagsModel m_flags;

    QHash<int, QAction*> m_actions;
    std::unordered_map<int, std::function<void()>> m_handlers;
    QMenu* m_fileMenu = nullptr;
    QToolBar* m_toolBar = nullptr;
    QStringList m_recent;
    QList<QAction*> m_recentActions;
    QList<QAction*> m_menuBarTwins;

    std::function<qint64()> m_clock;
    std::function<int(QDialog&)> m_runDialog;
    bool m_noticesPending = false;

    QList<QPointer<QWidget>> m_editorWindows;
    HelpMode m_helpMode;
};

} // namespace veskar
