#include "app/EditorWindow.h"

#include "app/MainWindow.h"

#include <QCloseEvent>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QWindow>

namespace veskar {

EditorWindow::EditorWindow(MainWindow& main, std::vector<FlagsModel::Flag> held, Standing standing)
    : QWidget(standing == Standing::OverMain ? &main : nullptr, Qt::Dialog), m_main(main),
      m_standing(standing)
{
    if (standing == Standing::Standalone)
        setWindowIcon(main.windowIcon());
    setAttribute(Qt::WA_DeleteOnClose);
    m_main.flags().hold(this, std::move(held));
    m_main.addEditorWindow(this);
}

EditorWindow::~EditorWindow()
{
    m_main.flags().release(this);
}

void EditorWindow::showOverMain()
{
    if (m_standing == Standing::OverMain || isVisible()) {
        show();
        return;
    }
    // The window system takes the transient parent when the window is shown.
    winId();
    windowHandle()->setTransientParent(m_main.windowHandle());
    show();
    windowHandle()->setTransientParent(nullptr);
}

bool EditorWindow::event(QEvent* event)
{
    if (event->type() == QEvent::StatusTip) {
        m_main.statusBar()->showMessage(static_cast<QStatusTipEvent*>(event)->tip());
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
    m_main.flags().release(this);
    event->accept();
    m_main.touchDocument();
}

} // namespace veskar
