#include "app/EditorWindow.h"

#include "app/MainWindow.h"

#include <QCloseEvent>

namespace veskar {

EditorWindow::EditorWindow(MainWindow& main, std::vector<FlagsModel::Flag> held, Standing standing)
    : QWidget(standing == Standing::OverMain ? &main : nullptr, Qt::Window), m_main(main)
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
