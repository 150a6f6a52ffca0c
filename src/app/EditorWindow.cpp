#include "app/EditorWindow.h"

#include "app/MainWindow.h"

#include <QCloseEvent>

namespace veskar {

EditorWindow::EditorWindow(MainWindow& main, std::vector<FlagsModel::Flag> held)
    : QWidget(&main, Qt::Window), m_main(main)
{
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
