#include "app/MainWindow.h"

#include "app/EditorCommands.h"
#include "app/RecentFiles.h"
#include "app/Startup.h"
#include "database/DataFile.h"
#include "report/OverviewWidget.h"
#include "widgets/FileChooser.h"
#include "widgets/Icons.h"
#include "widgets/MessageService.h"
#include "widgets/QtText.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include <memory>

namespace veskar {

namespace {

int CommandOf(const QAction* action)
{
    return action ? action->data().toInt() : 0;
}

} // namespace

MainWindow::MainWindow(MessageService& messages, FileChooser& files, QWidget* parent)
    : QMainWindow(parent), m_messages(messages), m_files(files), m_helpMode([this](const QString& text) {
          if (text.isEmpty())
              statusBar()->clearMessage();
          else
              statusBar()->showMessage(text);
      })
{
    auto started = std::make_shared<QElapsedTimer>();
    started->start();
    m_clock = [started] { return started->elapsed(); };
    m_runDialog = [](QDialog& dialog) { return dialog.exec(); };

    setObjectName(QStringLiteral("MainWindow"));
    setWindowIcon(ApplicationIcon());
    setProperty("helpTopic", Text(kContentsTopic));

    setCentralWidget(new OverviewWidget(*this));

    statusBar()->setObjectName(QStringLiteral("StatusBar"));
    RegisterFileCommands();
    RegisterEditors(*this);
    BuildMenus();
    BuildToolBar();
    m_recent = LoadRecentFiles();
    RebuildRecentMenu();
    connect(&m_flags, &FlagsModel::changed, this, &MainWindow::UpdateCommands);
    connect(this, &MainWindow::documentTouched, this, &MainWindow::UpdateTitle);
    UpdateCommands();
    UpdateTitle();
    resize(900, 600);

    qApp->installEventFilter(this);
}

MainWindow::~MainWindow()
{
    qApp->removeEventFilter(this);
    // Editor windows hold flags of this window; they go first.
    for (const QPointer<QWidget>& window : m_editorWindows)
        delete window.data();
}

void MainWindow::RegisterFileCommands()
{
    setCommandHandler(CommandId::FileOpen, [this] { CmFileOpen(); });
    setCommandHandler(CommandId::FileSave, [this] { CmFileSave(); });
    setCommandHandler(CommandId::FileSaveAs, [this] { CmFileSaveAs(); });
    setCommandHandler(CommandId::Exit, [this] { close(); });
    setCommandHandler(CommandId::DefaultData, [this] { CmDefaultData(); });
    setCommandHandler(CommandId::ClearData, [this] { CmClearData(); });
    setCommandHandler(CommandId::HelpContents, [this] { showHelp(Text(kContentsTopic)); });
    setCommandHandler(CommandId::HelpUsing, [this] { showHelp(Text(kUsingHelpTopic)); });
}

void MainWindow::setCommandHandler(CommandId id, std::function<void()> handler)
{
    m_handlers[static_cast<int>(id)] = std::move(handler);
    UpdateCommands();
}

void MainWindow::BuildMenus()
{
    for (const CommandInfo& info : Commands()) {
        auto* action = new QAction(Text(info.menuText), this);
        action->setData(static_cast<int>(info.id));
        if (!info.shortcut.empty())
            action->setShortcut(QKeySequence(Text(info.shortcut)));
        if (!info.hint.empty())
            action->setStatusTip(Text(info.hint));
        if (!info.icon.empty())
            action->setIcon(ToolbarIcon(info.icon));
        const int id = static_cast<int>(info.id);
        connect(action, &QAction::triggered, this, [this, id] { runCommand(id); });
        m_actions.insert(id, action);
        addAction(action); // shortcuts work with the menus closed, too
    }

    for (const MenuLayout& layout : MenuBar()) {
        if (layout.popup.empty()) {
            // A text-only twin: the menu bar would show the toolbar icon instead of the text.
            QAction* command = m_actions.value(layout.items.front());
            auto* twin = new QAction(command->text(), this);
            twin->setData(command->data());
            twin->setStatusTip(command->statusTip());
            connect(twin, &QAction::triggered, command, &QAction::trigger);
            menuBar()->addAction(twin);
            m_menuBarTwins << twin;
            continue;
        }
        QMenu* menu = menuBar()->addMenu(Text(layout.popup));
        for (int item : layout.items) {
            if (item == kSeparator)
                menu->addSeparator();
            else if (item != kRecentFiles)
                menu->addAction(m_actions.value(item));
        }
        if (layout.popup == "&File")
            m_fileMenu = menu;
    }
}

void MainWindow::BuildToolBar()
{
    m_toolBar = new QToolBar(QStringLiteral("Toolbar"), this);
    m_toolBar->setObjectName(QStringLiteral("Toolbar"));
    m_toolBar->setIconSize(QSize(24, 24));
    m_toolBar->setAllowedAreas(Qt::AllToolBarAreas);
    for (int item : ToolBar()) {
        if (item == kSeparator) {
            m_toolBar->addSeparator();
            continue;
        }
        m_toolBar->addAction(m_actions.value(item)); // tooltip: the menu text without '&' and "..."
    }
    addToolBar(Qt::TopToolBarArea, m_toolBar);
}

void MainWindow::UpdateCommands()
{
    for (const CommandInfo& info : Commands()) {
        if (QAction* action = m_actions.value(static_cast<int>(info.id)))
            action->setEnabled(m_handlers.contains(static_cast<int>(info.id)) && m_flags.allowed(info.id));
    }
    for (QAction* twin : m_menuBarTwins)
        twin->setEnabled(m_actions.value(CommandOf(twin))->isEnabled());
    for (QAction* action : m_recentActions)
        action->setEnabled(m_flags.flags().fileon);
}

// The title marks unsaved changes, so a Save still owed shows.
void MainWindow::UpdateTitle()
{
    setWindowTitle(Text(MainTitle(m_document.workingFile)) + QStringLiteral("[*]"));
    setWindowModified(m_document.DatabaseChanged);
}

void MainWindow::addEditorWindow(QWidget* window)
{
    m_editorWindows.append(window);
}

// Windows that show the document look again; they compare before redrawing.
void MainWindow::whenDocumentTouched(QObject* receiver, std::function<void()> follow)
{
    connect(this, &MainWindow::documentTouched, receiver, std::move(follow));
}

void MainWindow::showHint(const QString& text)
{
    statusBar()->showMessage(text);
}

bool MainWindow::commandEnabled(CommandId id) const
{
    const QAction* item = action(id);
    return item && item->isEnabled();
}

// ---- start-up -------------------------------------------------------------

void MainWindow::InitFile()
{
    m_startupFailures = 0;
    const StartupOutcome outcome = veskar::InitFile(m_document, m_cfg);
    m_startupFailures = outcome.StartupFailures;
    for (FileError error : outcome.errors)
        ShowFileError(error);
    UpdateTitle();
    UpdateCommands();
    touchDocument();
    m_noticesPending = true;
    // Makes sure some event arrives once the notices are due, even on an idle desktop.
    QTimer::singleShot(kNoticeDelayMs + 50, this, [] {});
}

void MainWindow::ShowStartupNotices()
{
    for (std::string_view notice : StartupNotices(m_startupFailures))
        m_messages.FileError(nullptr, Text(notice));
    ApplyStartupNotices(m_document, m_startupFailures);
    UpdateCommands();
    touchDocument();
}

void MainWindow::ShowFileError(FileError error)
{
    m_messages.FileError(this, Text(FileErrorText(error)));
}

// ---- commands -------------------------------------------------------------

// Every command passes here; in help mode it shows the command's help instead.
void MainWindow::runCommand(int id)
{
    const CommandInfo* info = FindCommand(id);
    if (!info)
        return;
    if (inHelpMode()) {
        leaveHelpMode();
        showHelp(Text(info->helpTopic));
        return;
    }
    const auto handler = m_handlers.find(id);
    if (handler == m_handlers.end() || !m_flags.allowed(info->id))
        return;
    handler->second();
    touchDocument();
}

bool MainWindow::DataGone()
{
    if (!m_document.DatabaseChanged)
        return false;
    return m_messages.Query(this, MessageService::Buttons::YesNo, Text(kSaveBeforeOpenQuery)) ==
           MessageService::Answer::Yes;
}

void MainWindow::CmFileOpen()
{
    if (DataGone())
        CmFileSaveAs();
    const std::optional<QString> name = m_files.OpenName(this, Text(m_document.workingFile));
    if (!name)
        return;
    ReadFile(*name);
}

void MainWindow::ReadFile(const QString& name)
{
    if (const FileError error = m_document.Open(name.toStdString()); error != FileError::None) {
        ShowFileError(error);
        return;
    }
    Remember(name);
    UpdateTitle();
    UpdateCommands();
    touchDocument();
    if (const std::size_t repaired = m_document.RepairedFields; repaired > 0)
        statusBar()->showMessage(Text(RepairedFieldsText(repaired)));
}

// With no current file (a first start) there is nothing to save to: ask for a name.
void MainWindow::CmFileSave()
{
    if (m_document.workingFile.empty()) {
        CmFileSaveAs();
        return;
    }
    if (const FileError error = m_document.Save(); error != FileError::None) {
        ShowFileError(error);
        return;
    }
    Remember(Text(m_document.workingFile));
    UpdateTitle();
}

bool MainWindow::CmFileSaveAs()
{
    const std::optional<QString> name = m_files.SaveName(this, Text(m_document.workingFile));
    if (!name)
        return false;
    if (const FileError error = m_document.SaveAs(name->toStdString()); error != FileError::None) {
        ShowFileError(error);
        return false;
    }
    Remember(*name);
    UpdateTitle();
    return true;
}

void MainWindow::CmDefaultData()
{
    EraseAfterQuery(&Document::CreateDatabase);
}

void MainWindow::CmClearData()
{
    EraseAfterQuery(&Document::ClearDatabase);
}

void MainWindow::EraseAfterQuery(void (Document::*erase)())
{
    if (m_messages.Query(this, MessageService::Buttons::YesNoSafe, Text(kEraseQuery)) !=
        MessageService::Answer::Yes)
        return;
    (m_document.*erase)();
    UpdateCommands();
    touchDocument();
}

// ---- closing --------------------------------------------------------------

bool MainWindow::CanClose()
{
    if (m_document.DatabaseChanged) {
        const auto answer =
            m_messages.Query(this, MessageService::Buttons::YesNoCancel, Text(kSaveBeforeCloseQuery));
        if (answer == MessageService::Answer::Cancel)
            return false;
        // Yes with nothing written (Save As cancelled or failed) keeps the window:
        // the user asked for the changes to be kept.
        if (answer == MessageService::Answer::Yes && !CmFileSaveAs())
            return false;
    }
    for (const QPointer<QWidget>& window : m_editorWindows) {
        if (window && window->isVisible() && !window->close())
            return false;
    }
    m_helpMode.closeHelp();
    return true;
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (CanClose())
        event->accept();
    else
        event->ignore();
}

// ---- recent files ---------------------------------------------------------

void MainWindow::Remember(const QString& name)
{
    m_recent = WithRecentFile(m_recent, name);
    StoreRecentFiles(m_recent);
    RebuildRecentMenu();
}

void MainWindow::RebuildRecentMenu()
{
    for (QAction* action : m_recentActions) {
        m_fileMenu->removeAction(action);
        delete action;
    }
    m_recentActions.clear();
    if (m_recent.isEmpty())
        return;
    QAction* before = action(CommandId::Exit);
    for (int i = 0; i < m_recent.size(); ++i) {
        const QString name = m_recent.at(i);
        QString shown = name;
        shown.replace(QLatin1Char('&'), QStringLiteral("&&")); // a '&' of the name is no mnemonic
        auto* entry = new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(shown), this);
        entry->setStatusTip(QStringLiteral("Opens ") + name);
        entry->setProperty("helpTopic", HelpMode::topicOfCommand(static_cast<int>(CommandId::FileOpen)));
        connect(entry, &QAction::triggered, this, [this, name] { openRecent(name); });
        m_fileMenu->insertAction(before, entry);
        m_recentActions << entry;
    }
    auto* separator = new QAction(this);
    separator->setSeparator(true);
    m_fileMenu->insertAction(before, separator);
    m_recentActions << separator;
    UpdateCommands();
}

void MainWindow::openRecent(const QString& name)
{
    if (inHelpMode()) {
        leaveHelpMode();
        showHelp(HelpMode::topicOfCommand(static_cast<int>(CommandId::FileOpen)));
        return;
    }
    if (!m_flags.flags().fileon)
        return;
    if (!QFileInfo::exists(name)) {
        m_recent.removeAll(name);
        StoreRecentFiles(m_recent);
        RebuildRecentMenu();
        m_messages.FileError(this,
                             QStringLiteral(" FILE ") + name +
                                 QStringLiteral(" NO LONGER EXISTS - REMOVED FROM THE RECENT FILES LIST "));
        return;
    }
    if (DataGone())
        CmFileSaveAs();
    ReadFile(name);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (m_noticesPending && m_clock() > kNoticeDelayMs) {
        // Shown right after this event is handled, not in the middle of it.
        m_noticesPending = false;
        QMetaObject::invokeMethod(this, &MainWindow::ShowStartupNotices, Qt::QueuedConnection);
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace veskar
