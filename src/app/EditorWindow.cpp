#include "app/EditorWindow.h"

#include "app/MainWindow.h"

#include <QCloseEvent>

namespace veskar {

EditorWindow::EditorWindow(MainWindow& main, std::vector<FlagsModel::Flag> cleared, QWidget* parent)
    : QWidget(parent, Qt::Window), m_main(main), m_cleared(std::move(cleared))
{
    setAttribute(Qt::WA_DeleteOnClose);
    for (FlagsModel::Flag flag : m_cleared)
        flags().set(flag, false);
    m_main.addEditorWindow(this);
}

FlagsModel& EditorWindow::flags()
{
    return m_main.flags();
}

void EditorWindow::RestoreFlags()
{
    for (FlagsModel::Flag flag : m_cleared)
        flags().set(flag, true);
}

void EditorWindow::closeEvent(QCloseEvent* event)
{
    if (!CanClose()) {
        event->ignore();
        return;
    }
    RestoreFlags();
    event->accept();
}

} // namespace veskar
