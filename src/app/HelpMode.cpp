#include "app/HelpMode.h"

#include "app/Commands.h"
#include "app/HelpWindow.h"
#include "widgets/QtText.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QToolButton>
#include <QWhatsThis>

namespace veskar {

namespace {

int CommandOf(const QAction* action)
{
    return action ? action->data().toInt() : 0;
}

QString TopicOfItem(const QAction* item)
{
    const QString own = item->property("helpTopic").toString();
    return own.isEmpty() ? HelpMode::topicOfCommand(CommandOf(item)) : own;
}

} // namespace

HelpMode::HelpMode(std::function<void(const QString&)> announce, QObject* parent)
    : QObject(parent), m_announce(std::move(announce))
{
    qApp->installEventFilter(this);
}

HelpMode::~HelpMode()
{
    qApp->removeEventFilter(this);
    if (m_active)
        QApplication::restoreOverrideCursor();
    delete m_help;
}

QString HelpMode::topicOfCommand(int id)
{
    const CommandInfo* info = FindCommand(id);
    return info ? Text(info->helpTopic) : QString();
}

QString HelpMode::topicFor(const QWidget* widget)
{
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        QString topic = w->property("helpTopic").toString();
        if (!topic.isEmpty())
            return topic;
    }
    return Text(kContentsTopic);
}

QString HelpMode::whatsThisOf(const QWidget* widget)
{
    for (const QWidget* w = widget; w; w = w->isWindow() ? nullptr : w->parentWidget()) {
        if (!w->whatsThis().isEmpty())
            return w->whatsThis();
    }
    return {};
}

void HelpMode::showHelp(const QString& topic)
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

void HelpMode::closeHelp()
{
    if (m_help)
        m_help->close();
}

void HelpMode::enter()
{
    if (m_active)
        return;
    m_active = true;
    QApplication::setOverrideCursor(Qt::WhatsThisCursor);
    m_announce(QStringLiteral("Click a command or a control for its help; Esc leaves help mode"));
}

void HelpMode::leave()
{
    if (!m_active)
        return;
    m_active = false;
    QApplication::restoreOverrideCursor();
    m_announce(QString());
}

QString HelpMode::TopicAt(QWidget* widget, const QPoint& globalPos, bool& passThrough) const
{
    passThrough = false;
    if (auto* menu = qobject_cast<QMenu*>(widget)) {
        QAction* item = menu->actionAt(menu->mapFromGlobal(globalPos));
        if (!item || item->isSeparator() || item->menu()) {
            passThrough = item && item->menu();
            return {};
        }
        return TopicOfItem(item);
    }
    if (auto* bar = qobject_cast<QMenuBar*>(widget)) {
        QAction* item = bar->actionAt(bar->mapFromGlobal(globalPos));
        if (item && item->menu()) {
            passThrough = true; // let the popup open so its items can be picked
            return {};
        }
        return item ? topicOfCommand(CommandOf(item)) : topicFor(bar);
    }
    if (auto* button = qobject_cast<QToolButton*>(widget); button && button->defaultAction())
        return topicOfCommand(CommandOf(button->defaultAction()));
    return topicFor(widget);
}

bool HelpMode::HelpClick(QObject* watched, QEvent* event)
{
    auto* mouse = static_cast<QMouseEvent*>(event);
    // The receiver is the widget under the pointer, or the open popup menu.
    QWidget* widget = qobject_cast<QWidget*>(watched);
    if (!widget)
        return false;
    bool passThrough = false;
    const QString topic = TopicAt(widget, mouse->globalPosition().toPoint(), passThrough);
    if (passThrough)
        return false;
    // The press only marks the click; the release (which would run a menu item) shows the help.
    if (event->type() == QEvent::MouseButtonPress)
        return true;
    if (QApplication::activePopupWidget())
        QApplication::activePopupWidget()->close();
    leave();
    if (const QString text = whatsThisOf(widget); !text.isEmpty())
        QWhatsThis::showText(mouse->globalPosition().toPoint(), text, widget);
    else
        showHelp(topic);
    return true;
}

bool HelpMode::KeyPressed(QObject* watched, QEvent* event)
{
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_F1 && (key->modifiers() & Qt::ShiftModifier)) {
        enter();
        return true;
    }
    if (key->key() == Qt::Key_F1) {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            QAction* item = menu->activeAction();
            if (item && !item->menu() && !item->isSeparator()) {
                menu->close();
                showHelp(TopicOfItem(item));
                return true;
            }
        }
        // The key goes to the focused control; it may reach us on its way there.
        QWidget* target = qobject_cast<QWidget*>(watched);
        if (!target)
            target = QApplication::focusWidget() ? QApplication::focusWidget() : QApplication::activeWindow();
        showHelp(topicFor(target));
        return true;
    }
    if (m_active && key->key() == Qt::Key_Escape) {
        leave();
        return true;
    }
    return false;
}

bool HelpMode::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress: return KeyPressed(watched, event);
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        if (m_active && watched->isWidgetType())
            return HelpClick(watched, event);
        break;
    default: break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace veskar
