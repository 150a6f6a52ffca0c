#pragma once

// The main window's client area: an overview of the loaded configuration.
// It looks again whenever the main window says the document may have changed
// and redraws only when the image or the file name did. A click on a section
// opens its editor, or the summary on that kind when the editor is not
// available.

#include "database/Image.h"
#include "report/Overview.h"

#include <QScrollArea>

#include <string>
#include <vector>

class QLabel;

namespace veskar {

class EditorHost;

class OverviewWidget final : public QScrollArea {
    Q_OBJECT
  public:
    explicit OverviewWidget(EditorHost& host);

    [[nodiscard]] const std::vector<OverviewSection>& sections() const { return m_sections; }
    [[nodiscard]] QLabel* sectionLabel(OverviewTarget target) const;
    [[nodiscard]] int rebuilds() const { return m_rebuilds; }

    void Activate(OverviewTarget target);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Follow();

    EditorHost& m_host;
    Image m_image{};
    std::string m_fileName;
    int m_rebuilds = 0;
    std::vector<OverviewSection> m_sections;
    std::vector<QLabel*> m_labels;
};

} // namespace veskar
