#pragma once

// A modeless editor window: while it is open it holds the command flags of the
// main-window commands that would conflict with it, and releases them when it
// closes. A refused close keeps them held. A flag another open window holds as
// well stays cleared, so the user list closing beside an open directory window
// leaves the file and program commands greyed.

#include "widgets/FlagsModel.h"

#include <QWidget>

#include <vector>

namespace veskar {

class EditorHost;

class EditorWindow : public QWidget {
    Q_OBJECT
  public:
    // OverMain windows sit over the main window and are blocked with it. A
    // Standalone window is a top-level of its own, so a dialog that is modal
    // over the main window leaves it usable. Either kind is a dialog-type
    // window, which the window manager keeps above the window it is a
    // transient of; a plain window goes behind the main window whenever that
    // or one of its dialogs is raised.
    enum class Standing { OverMain, Standalone };

    // Owned by the host, which closes it (asking) before the program ends.
    EditorWindow(EditorHost& host, std::vector<FlagsModel::Flag> held, Standing standing = Standing::OverMain);
    ~EditorWindow() override;

    // Shows the window. A Standalone one is shown as a transient of the main
    // window, so the window manager keeps it above that, and the tie is
    // dropped on Qt's side at once, so that a dialog modal over the main
    // window does not block it.
    void showOverMain();

  protected:
    // Asked before the window closes (the acceptance sequence of the editor).
    [[nodiscard]] virtual bool CanClose() { return true; }

    void closeEvent(QCloseEvent* event) override;
    // The window has no status line of its own: its menu hints show in the main window's.
    bool event(QEvent* event) override;

    EditorHost& host() { return m_host; }

  private:
    EditorHost& m_host;
    Standing m_standing;
};

} // namespace veskar
