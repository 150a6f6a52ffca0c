#pragma once

// Context help of the whole program: F1 shows the page of the control in use
// (or of the highlighted menu item); Shift+F1 enters help mode, in which a
// click on a menu item, toolbar button or control shows that item's page
// instead of acting, or the control's own What's This text when it has one.
// Pages open in the help window.

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class QPoint;
class QWidget;

namespace veskar {

class HelpWindow;

class HelpMode : public QObject {
    Q_OBJECT
  public:
    // `announce` shows a line while help mode is on (empty text clears it).
    explicit HelpMode(std::function<void(const QString&)> announce, QObject* parent = nullptr);
    ~HelpMode() override;

    void showHelp(const QString& topic);
    [[nodiscard]] HelpWindow* helpWindow() const { return m_help.data(); }
    void closeHelp();

    [[nodiscard]] bool active() const { return m_active; }
    void enter();
    void leave();

    // The page of a widget: its own "helpTopic", or that of the nearest parent with one.
    [[nodiscard]] static QString topicFor(const QWidget* widget);
    // The What's This text of a control, or of the nearest parent in its window with one.
    [[nodiscard]] static QString whatsThisOf(const QWidget* widget);
    // The page of a command id of the command table.
    [[nodiscard]] static QString topicOfCommand(int id);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    [[nodiscard]] bool KeyPressed(QObject* watched, QEvent* event);
    [[nodiscard]] bool HelpClick(QObject* watched, QEvent* event);
    [[nodiscard]] QString TopicAt(QWidget* widget, const QPoint& globalPos, bool& passThrough) const;

    std::function<void(const QString&)> m_announce;
    QPointer<HelpWindow> m_help;
    bool m_active = false;
};

} // namespace veskar
