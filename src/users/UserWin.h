#pragma once

// The user list window: the 16 users as a table of number, codes and warning
// interval, edited row by row in the user settings form. Edits live in the
// window's own text copies until "E&xit and Save" writes all 16 records back.

#include "users/UserData.h"
#include "widgets/EditorWindow.h"

#include <QFont>

#include <array>

class QAction;
class QMenuBar;

namespace veskar {

class UserTableView;

class UserWin : public EditorWindow {
    Q_OBJECT
  public:
    explicit UserWin(EditorHost& host);

    [[nodiscard]] int selectedRow() const { return m_selected; }
    void selectRow(int row);
    [[nodiscard]] const std::array<UserData, kUserCount>& users() const { return m_users; }
    [[nodiscard]] QWidget* table() const;
    [[nodiscard]] QAction* exitAndSaveAction() const { return m_exitAndSave; }
    [[nodiscard]] QAction* cancelAction() const { return m_cancel; }
    [[nodiscard]] QAction* editLineAction() const { return m_editLine; }

    void EditLine();
    void CmWinExit();
    void CmWinCancel();

  protected:
    [[nodiscard]] bool CanClose() override;

  private:
    friend class UserTableView;
    void SetupWindow();
    void PlaceOnScreen();
    void CloseWith(bool save);

    std::array<UserData, kUserCount> m_users;
    int m_selected = 0;
    bool m_exitFlag = false;
    QFont m_font;
    UserTableView* m_table = nullptr;
    QAction* m_exitAndSave = nullptr;
    QAction* m_cancel = nullptr;
    QAction* m_editLine = nullptr;
};

} // namespace veskar
