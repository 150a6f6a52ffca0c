#pragma once

// The help viewer: the pages shipped in the program's resources, a contents
// list, back and forward, and a search within the page shown.

#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class QTextBrowser;

namespace veskar {

class HelpWindow : public QWidget {
    Q_OBJECT
  public:
    explicit HelpWindow(QWidget* parent = nullptr);

    void showTopic(const QString& topic);
    [[nodiscard]] QString currentTopic() const;
    // Highlights the next match of `text` in the page, from the top when none follows.
    bool findInPage(const QString& text);

    [[nodiscard]] static QString resourcePath(const QString& topic);
    [[nodiscard]] static bool hasTopic(const QString& topic);

    QTextBrowser* browser() const { return m_browser; }
    QListWidget* contents() const { return m_contents; }

  private:
    void SyncContents();

    QListWidget* m_contents;
    QTextBrowser* m_browser;
    QLineEdit* m_find;
    QLabel* m_findResult;
};

// Makes the help pages available when the program is linked statically.
void InitHelpResources();

} // namespace veskar
