#include "app/HelpWindow.h"

#include <QAction>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QStyle>
#include <QTextBrowser>
#include <QToolBar>
#include <QVBoxLayout>

static void InitResourcesOutsideNamespace()
{
    Q_INIT_RESOURCE(veskar);
}

namespace veskar {

namespace {

struct Page {
    const char* topic;
    const char* title;
};

// Contents, in reading order.
constexpr Page kPages[] = {
    {"index.html", "Contents"},
    {"getting-started.html", "Getting started"},
    {"open.html", "Open"},
    {"save.html", "Save"},
    {"saveas.html", "Save As"},
    {"default-database.html", "Default Database"},
    {"clear-database.html", "Clearing the configuration"},
    {"exit.html", "Exit"},
    {"editing.html", "Editing and discarding changes"},
    {"users.html", "Users"},
    {"user-settings.html", "User settings"},
    {"system.html", "System settings"},
    {"modbus.html", "Modbus settings"},
    {"directories.html", "Directories A to D"},
    {"copy-directory.html", "Copy Directory"},
    {"levels.html", "Audio levels"},
    {"summary.html", "Summary"},
    {"program.html", "Programming the unit"},
    {"about.html", "About"},
    {"using-help.html", "Using help"},
};

} // namespace

void InitHelpResources()
{
    InitResourcesOutsideNamespace();
}

QString HelpWindow::resourcePath(const QString& topic)
{
    return QStringLiteral(":/help/") + topic;
}

bool HelpWindow::hasTopic(const QString& topic)
{
    InitHelpResources();
    return !topic.isEmpty() && QFile::exists(resourcePath(topic));
}

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    InitHelpResources();
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Veskar Programmer Help"));
    setProperty("helpTopic", QStringLiteral("using-help.html"));

    m_contents = new QListWidget;
    for (const Page& page : kPages) {
        auto* item = new QListWidgetItem(QString::fromLatin1(page.title), m_contents);
        item->setData(Qt::UserRole, QString::fromLatin1(page.topic));
    }
    m_contents->setMaximumWidth(220);

    m_browser = new QTextBrowser;
    m_browser->setSearchPaths({QStringLiteral(":/help")});
    m_browser->setOpenExternalLinks(false);

    auto* tools = new QToolBar;
    QAction* back = tools->addAction(style()->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("Back"));
    QAction* forward =
        tools->addAction(style()->standardIcon(QStyle::SP_ArrowForward), QStringLiteral("Forward"));
    QAction* home =
        tools->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), QStringLiteral("Contents"));
    back->setShortcut(QKeySequence::Back);
    forward->setShortcut(QKeySequence::Forward);
    back->setEnabled(false);
    forward->setEnabled(false);
    tools->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    connect(back, &QAction::triggered, m_browser, &QTextBrowser::backward);
    connect(forward, &QAction::triggered, m_browser, &QTextBrowser::forward);
    connect(home, &QAction::triggered, this, [this] { showTopic(QStringLiteral("index.html")); });
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);

    m_find = new QLineEdit;
    m_find->setPlaceholderText(QStringLiteral("Find in page"));
    m_find->setClearButtonEnabled(true);
    m_find->setMaximumWidth(220);
    auto* findNext = new QPushButton(QStringLiteral("&Find"));
    m_findResult = new QLabel;
    connect(m_find, &QLineEdit::returnPressed, this, [this] { findInPage(m_find->text()); });
    connect(findNext, &QPushButton::clicked, this, [this] { findInPage(m_find->text()); });
    tools->addSeparator();
    tools->addWidget(m_find);
    tools->addWidget(findNext);
    tools->addWidget(m_findResult);

    auto* split = new QSplitter;
    split->addWidget(m_contents);
    split->addWidget(m_browser);
    split->setStretchFactor(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(tools);
    layout->addWidget(split);

    connect(m_contents, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { showTopic(item->data(Qt::UserRole).toString()); });
    connect(m_contents, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { showTopic(item->data(Qt::UserRole).toString()); });
    connect(m_browser, &QTextBrowser::sourceChanged, this, [this] {
        SyncContents();
        m_findResult->clear();
    });

    resize(820, 560);
}

void HelpWindow::showTopic(const QString& topic)
{
    const QString page = hasTopic(topic) ? topic : QStringLiteral("index.html");
    const QUrl url(QStringLiteral("qrc") + resourcePath(page));
    if (m_browser->source() != url)
        m_browser->setSource(url);
    SyncContents();
}

QString HelpWindow::currentTopic() const
{
    return m_browser->source().fileName();
}

bool HelpWindow::findInPage(const QString& text)
{
    if (text.isEmpty())
        return false;
    bool found = m_browser->find(text);
    if (!found) {
        // Wrap round to the top of the page.
        QTextCursor top = m_browser->textCursor();
        top.movePosition(QTextCursor::Start);
        m_browser->setTextCursor(top);
        found = m_browser->find(text);
    }
    m_findResult->setText(found ? QString() : QStringLiteral("  Not found"));
    return found;
}

void HelpWindow::SyncContents()
{
    const QString topic = currentTopic();
    for (int i = 0; i < m_contents->count(); ++i) {
        if (m_contents->item(i)->data(Qt::UserRole).toString() == topic) {
            const QSignalBlocker block(m_contents);
            m_contents->setCurrentRow(i);
            return;
        }
    }
}

} // namespace veskar
