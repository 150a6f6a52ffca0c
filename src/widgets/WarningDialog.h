#pragma once

// The discard-changes dialog every editor shows when it is left with unsaved
// edits. "&Yes" discards (UniversalFlag 0), "&No" keeps editing (UniversalFlag 1).

#include <QDialog>

class QLabel;
class QPushButton;

namespace veskar {

class WarningDialog : public QDialog {
    Q_OBJECT
  public:
    WarningDialog(QWidget* parent, const QString& name);

    [[nodiscard]] static QString LineFor(const QString& name);

    QPushButton* yesButton() const { return m_yes; }
    QPushButton* noButton() const { return m_no; }

  private:
    void NoSave();
    void YesSave();

    QPushButton* m_yes;
    QPushButton* m_no;
};

} // namespace veskar
