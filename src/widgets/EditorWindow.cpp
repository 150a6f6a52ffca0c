#include "widgets/EditorWindow.h"

#include "widgets/EditorHost.h"

#include <QCloseEvent>
#include <QStatusTipEvent>
#include <QWindow>

namespace veskar {

EditorWindow::EditorWindow(EditorHost& host, std::vector<FlagsModel::Flag> held, Standing standing)
    : QWidget(standing == Standing::OverMain ? &host.frame() : nullptr, Qt::Dialog), m_host(host),
      m_standing(standing)
{
    if (standing == Standing::Standalone)
        setWindowIcon(host.frame().windowIcon());
    setAttribute(Qt::WA_DeleteOnClose);
    m_host.flags().hold(this, std::move(held));
    m_host.addEditorWindow(this);
}

EditorWindow::~EditorWindow()
{
    m_host.flags().release(this);
}

void EditorWindow::showOverMain()
{
    if (m_standing == Standing::OverMain || isVisible()) {
        show();
        return;
    }
    // The window system takes the transient parent when the window is shown.
    winId();
    windowHandle()->setTransientParent(m_host.frame().windowHandle());
    show();
    windowHandle()->setTransientParent(nullptr);
}

bool EditorWindow::event(QEvent* event)
{
    if (event->type() == QEvent::StatusTip) {
        m_host.showHint(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QWidget::event(event);
}

void EditorWindow::closeEvent(QCloseEvent* event)
{
    if (!CanClose()) {
        event->ignore();
        return;
    }
    m_host.flags().release(this);
    event->accept();
    m_host.touchDocument();
}

} // namespace veskar
