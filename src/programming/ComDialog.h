#pragma once

// The progress window of a running transfer: what the engine is doing
// (Activity) and how it is going (Status), the packets done with the time
// spent and left, and a Stop button.

#include <QDialog>

#include <optional>

class QLabel;
class QProgressBar;
class QPushButton;

namespace veskar {

class ComDialog : public QDialog {
    Q_OBJECT
  public:
    explicit ComDialog(QWidget* parent);

    void setActivity(const QString& text);
    void setStatus(const QString& text);
    // `elapsedMs` since the transfer started.
    // `total` 0: not known yet; `leftMs` empty: no estimate yet.
    void setPackets(int done, int total, qint64 elapsedMs, std::optional<qint64> leftMs);

    [[nodiscard]] QLabel* activity() const { return m_activity; }
    [[nodiscard]] QLabel* status() const { return m_status; }
    [[nodiscard]] QProgressBar* progress() const { return m_progress; }
    [[nodiscard]] QLabel* timing() const { return m_timing; }
    [[nodiscard]] QPushButton* stopButton() const { return m_stop; }

  signals:
    void stopRequested();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QLabel* m_activity;
    QLabel* m_status;
    QProgressBar* m_progress;
    QLabel* m_timing;
    QPushButton* m_stop;
};

} // namespace veskar
