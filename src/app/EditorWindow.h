#pragma once

// A modeless editor window: while it is open it clears the command flags of
// the main-window commands that would conflict with it, and restores them when
// it closes. A refused close leaves them cleared.

#include "app/FlagsModel.h"

#include <QWidget>

#include <vector>

namespace veskar {

class MainWindow;

class EditorWindow : public QWidget {
    Q_OBJECT
  public:
    EditorWindow(MainWindow& main, std::vector<FlagsModel::Flag> cleared, QWidget* parent = nullptr);

  protected:
    // Asked before the window closes (the acceptance sequence of the editor).
    [[nodiscard]] virtual bool CanClose() { return true; }
    // Default: every flag cleared at set-up comes back.
    virtual void RestoreFlags();

    void closeEvent(QCloseEvent* event) override;

    MainWindow& main() { return m_main; }
    FlagsModel& flags();

  private:
    MainWindow& m_main;
    std::vector<FlagsModel::Flag> m_cleared;
};

} // namespace veskar
