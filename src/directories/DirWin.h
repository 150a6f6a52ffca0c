#pragma once

// The directory window: one directory's lines as a numbered list with each
// line's description and the usage figure, edited line by line in the line
// editor. Edits live in the window's own line table until "E&xit and Save"
// writes the block back into the configuration.

#include "directories/DirectoryCodec.h"
#include "widgets/EditorWindow.h"

#include <QFont>

#include <string_view>
#include <vector>

class QAction;

namespace veskar {

class DirListView;

class DirWin : public EditorWindow {
    Q_OBJECT
  public:
    DirWin(EditorHost& host, int directory);
    ~DirWin() override;

    // Directory windows open now; each new one is placed a little further down and right.
    [[nodiscard]] static int DirsOpen() { return s_dirsOpen; }

    [[nodiscard]] int directory() const { return m_directory; }
    [[nodiscard]] const LineTable& lines() const { return m_table; }
    [[nodiscard]] int selectedLine() const { return m_selected; }
    void selectLine(int line);
    [[nodiscard]] QWidget* list() const;
    [[nodiscard]] QAction* command(int id) const;

    void EditLine();
    void InsertLine();
    void DeleteLine();
    void CmWinExit();
    void CmWinCancel();

  protected:
    [[nodiscard]] bool CanClose() override;

  private:
    friend class DirListView;
    // True when the selected line holds commands after the edit.
    bool Edit();
    void PlaceOnScreen();
    void CloseWith(bool save);
    void Refresh();

    static int s_dirsOpen;

    int m_directory;
    DirectoryBlock m_block;
    LineTable m_table;
    LineTable m_opened;
    std::vector<std::string_view> m_unshown;
    int m_selected = 0;
    bool m_saveFlag = false;
    bool m_counted = true;
    QFont m_font;
    DirListView* m_list = nullptr;
    std::vector<QAction*> m_commands;
};

} // namespace veskar
