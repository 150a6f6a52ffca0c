#pragma once

// The line editor: up to 12 commands of one directory line, one per row, each
// with its value. A command button inserts at the selected row when the line
// rules allow it; OK runs the confirmation checks and gives the cleaned line
// back; Cancel after changes asks before discarding them.

#include "directories/Editline.h"
#include "directories/LineRules.h"
#include "widgets/EditorDialog.h"

#include <array>

class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace veskar {

class DirDialog : public EditorDialog {
    Q_OBJECT
  public:
    // `record` is the line to edit; it holds the result when the form ends.
    DirDialog(QWidget* parent, MessageService& messages, int directory, int line, Editline& record,
              bool useCallProgress);

    [[nodiscard]] int selectedRow() const { return m_selected; }
    [[nodiscard]] QLineEdit* valueField(int row) const { return m_values.at(static_cast<std::size_t>(row)); }
    [[nodiscard]] QRadioButton* selector(int row) const
    {
        return m_selectors.at(static_cast<std::size_t>(row));
    }
    [[nodiscard]] QLabel* marker(int row) const { return m_markers.at(static_cast<std::size_t>(row)); }
    [[nodiscard]] QLabel* label(int row) const { return m_labels.at(static_cast<std::size_t>(row)); }
    [[nodiscard]] QPushButton* commandButton(LineCommand command) const;
    [[nodiscard]] QPushButton* deleteButton() const { return m_delete; }

    void UpdateSelect(int row);
    void Insert(LineCommand command);
    void DirDelete();

  protected:
    [[nodiscard]] bool Changed() const override;
    [[nodiscard]] bool Check() override;
    void Store() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    [[nodiscard]] Editline Shown() const;
    void ReadRows() { m_work = Shown(); }
    void RefreshSelect();
    void ShowSelection();
    [[nodiscard]] int RowOf(const QObject* control) const;
    // True when the key moved the focus or the selection.
    bool KeyPressed(const QObject* watched, int row, const QKeyEvent& key);
    // Selects the row and gives its selector the focus.
    void SelectByKey(int row);

    Editline& m_record;
    Editline m_work;
    bool m_useCallProgress;
    int m_selected = 0;
    int m_focused = 0;       // the row whose selector had the focus last
    bool m_deleting = false; // Delete pressed since it got the focus

    std::array<QLabel*, kMaxCommandsPerLine> m_labels{};
    std::array<QLineEdit*, kMaxCommandsPerLine> m_values{};
    std::array<QRadioButton*, kMaxCommandsPerLine> m_selectors{};
    std::array<QLabel*, kMaxCommandsPerLine> m_markers{};
    std::array<QPushButton*, 10> m_commands{};
    QPushButton* m_delete = nullptr;
};

} // namespace veskar
