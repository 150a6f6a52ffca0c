#include "app/MainWindow.h"

#include "about/Cv2AboutDlg.h"
#include "app/FileChooser.h"
#include "app/HelpWindow.h"
#include "app/Icons.h"
#include "app/MessageService.h"
#include "app/QtText.h"
#include "app/RecentFiles.h"
#include "app/Startup.h"
#include "database/DataFile.h"
#include "levels/SetptDialog.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <memory>

namespace veskar {

namespace {

int CommandOf(const QAction* action)
{
    return action ? action->data().toInt() : 0;
}

QString TopicOf(int id)
{
    const CommandInfo* info = FindCommand(id);
    return info ? Text(info->helpTopic) : QString();
}

} // namespace

MainWindow::MainWindow(MessageService& messages, FileChooser& files, QWidget* parent)
    : QMainWindow(parent), m_messages(messages), m_files(files)
{
    auto started = std::make_shared<QElapsedTimer>();
    started->start();
    m_clock = [started] { return started->elapsed(); };
    m_runDialog = [](QDialog& dialog) { return dialog.exec(); };

    setObjectName(QStringLiteral("MainWindow"));
    setWindowIcon(ApplicationIcon());
    setProperty("helpTopic", Text(kContentsTopic));

    auto* client = new QLabel(this);
    client->setObjectName(QStringLiteral("BaseWindow"));
    client->setBackgroundRole(QPalette::Dark);
    client->setAutoFillBackground(true);
    setCentralWidget(client);

    statusBar()->setObjectName(QStringLiteral("StatusBar"));
    BuildMenus();
    BuildToolBar();
    m_recent = LoadRecentFiles();
    RebuildRecentMenu();
    connect(&m_flags, &FlagsModel::changed, this, &MainWindow::UpdateCommands);
    UpdateCommands();
    UpdateTitle();
    resize(900, 600);

    qApp->installEventFilter(this);
}

MainWindow::~MainWindow()
{
    qApp->removeEventFilter(this);
    if (m_helpMode)
        QApplication::restoreOverrideCursor();
    delete m_help;
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
            action->setEnabled(info.built && m_flags.allowed(info.id));
    }
    for (QAction* twin : m_menuBarTwins)
        twin->setEnabled(m_actions.value(CommandOf(twin))->isEnabled());
    for (QAction* action : m_recentActions)
        action->setEnabled(m_flags.flags().fileon);
}

void MainWindow::UpdateTitle()
{
    setWindowTitle(Text(MainTitle(m_document.workingFile)));
}

void MainWindow::addEditorWindow(QWidget* window)
{
    m_editorWindows.append(window);
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
}

void MainWindow::ShowFileError(FileError error)
{
    m_messages.FileError(this, Text(FileErrorText(error)));
}

// ---- commands -------------------------------------------------------------

void MainWindow::runCommand(int id)
{
    const CommandInfo* info = FindCommand(id);
    if (!info)
        return;
    if (m_helpMode) {
        leaveHelpMode();
        showHelp(Text(info->helpTopic));
        return;
    }
    if (!info->built || !m_flags.allowed(info->id))
        return;
    switch (info->id) {
    case CommandId::FileOpen: CmFileOpen(); break;
    case CommandId::FileSave: CmFileSave(); break;
    case CommandId::FileSaveAs: CmFileSaveAs(); break;
    case CommandId::Exit: close(); break;
    case CommandId::DefaultData: CmDefaultData(); break;
    case CommandId::ClearData: CmClearData(); break;
    case CommandId::Levels: CmLevels(); break;
    case CommandId::HelpContents: CmHelpContents(); break;
    case CommandId::HelpUsing: CmHelpUsing(); break;
    case CommandId::HelpAbout: CmHelpAbout(); break;
    default: break;
    }
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
}

void MainWindow::CmFileSave()
{
    if (const FileError error = m_document.Save(); error != FileError::None) {
        ShowFileError(error);
        return;
    }
    Remember(Text(m_document.workingFile));
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
}

void MainWindow::CmLevels()
{
    SetptDialog dialog(this, m_document, m_messages);
    m_runDialog(dialog);
}

void MainWindow::CmHelpContents()
{
    showHelp(Text(kContentsTopic));
}

void MainWindow::CmHelpUsing()
{
    showHelp(Text(kUsingHelpTopic));
}

void MainWindow::CmHelpAbout()
{
    Cv2AboutDlg dialog(this);
    m_runDialog(dialog);
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
    if (m_help)
        m_help->close();
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
        entry->setProperty("helpTopic", TopicOf(static_cast<int>(CommandId::FileOpen)));
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
    if (m_helpMode) {
        leaveHelpMode();
        showHelp(TopicOf(static_cast<int>(CommandId::FileOpen)));
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

// ---- help -----------------------------------------------------------------

HelpWindow* MainWindow::helpWindow() const
{
    return m_help.data();
}

void MainWindow::showHelp(const QString& topic)
{
    // A running modal dialog blocks every window outside it, so help asked for
    // from the dialog lives in it (and goes when it goes).
    QWidget* owner = QApplication::activeModalWidget();
    if (!m_help)
        m_help = new HelpWindow(owner);
    else if (m_help->parentWidget() != owner)
        m_help->setParent(owner, m_help->windowFlags());
    m_help->showTopic(topic.isEmpty() ? Text(kContentsTopic) : topic);
    m_help->show();
    m_help->raise();
    m_help->activateWindow();
}

void MainWindow::enterHelpMode()
{
    if (m_helpMode)
        return;
    m_helpMode = true;
    QApplication::setOverrideCursor(Qt::WhatsThisCursor);
    statusBar()->showMessage(
        QStringLiteral("Click a command or a control for its help; Esc leaves help mode"));
}

void MainWindow::leaveHelpMode()
{
    if (!m_helpMode)
        return;
    m_helpMode = false;
    QApplication::restoreOverrideCursor();
    statusBar()->clearMessage();
}

QString MainWindow::topicFor(const QWidget* widget)
{
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        const QString topic = w->property("helpTopic").toString();
        if (!topic.isEmpty())
            return topic;
    }
    return Text(kContentsTopic);
}

QString MainWindow::HelpTopicAt(QWidget* widget, const QPoint& globalPos, bool& passThrough) const
{
    passThrough = false;
    if (auto* menu = qobject_cast<QMenu*>(widget)) {
        QAction* item = menu->actionAt(menu->mapFromGlobal(globalPos));
        if (!item || item->isSeparator() || item->menu()) {
            passThrough = item && item->menu();
            return {};
        }
        const QString own = item->property("helpTopic").toString();
        return own.isEmpty() ? TopicOf(CommandOf(item)) : own;
    }
    if (auto* bar = qobject_cast<QMenuBar*>(widget)) {
        QAction* item = bar->actionAt(bar->mapFromGlobal(globalPos));
        if (item && item->menu()) {
            passThrough = true; // let the popup open so its items can be picked
            return {};
        }
        return item ? TopicOf(CommandOf(item)) : topicFor(this);
    }
    if (auto* button = qobject_cast<QToolButton*>(widget); button && button->defaultAction())
        return TopicOf(CommandOf(button->defaultAction()));
    return topicFor(widget);
}

bool MainWindow::HelpClick(QObject* watched, QEvent* event)
{
    auto* mouse = static_cast<QMouseEvent*>(event);
    // The receiver is the widget under the pointer, or the open popup menu.
    QWidget* widget = qobject_cast<QWidget*>(watched);
    if (!widget)
        return false;
    bool passThrough = false;
    const QString topic = HelpTopicAt(widget, mouse->globalPosition().toPoint(), passThrough);
    if (passThrough)
        return false;
    // The press only marks the click; the release (which would run a menu item) shows the help.
    if (event->type() == QEvent::MouseButtonPress)
        return true;
    if (QApplication::activePopupWidget())
        QApplication::activePopupWidget()->close();
    leaveHelpMode();
    showHelp(topic);
    return true;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (m_noticesPending && m_clock() > kNoticeDelayMs) {
        // Shown right after this event is handled, not in the middle of it.
        m_noticesPending = false;
        QMetaObject::invokeMethod(this, &MainWindow::ShowStartupNotices, Qt::QueuedConnection);
    }

    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_F1 && (key->modifiers() & Qt::ShiftModifier)) {
            enterHelpMode();
            return true;
        }
        if (key->key() == Qt::Key_F1) {
            if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                QAction* item = menu->activeAction();
                if (item && !item->menu() && !item->isSeparator()) {
                    const QString own = item->property("helpTopic").toString();
                    menu->close();
                    showHelp(own.isEmpty() ? TopicOf(CommandOf(item)) : own);
                    return true;
                }
            }
            // The key goes to the focused control; it may reach us on its way there.
            QWidget* target = qobject_cast<QWidget*>(watched);
            if (!target)
                target =
                    QApplication::focusWidget() ? QApplication::focusWidget() : QApplication::activeWindow();
            showHelp(topicFor(target));
            return true;
        }
        if (m_helpMode && key->key() == Qt::Key_Escape) {
            leaveHelpMode();
            return true;
        }
        break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        if (m_helpMode && watched->isWidgetType())
            return HelpClick(watched, event);
        break;
    default: break;
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace veskar
