#pragma once

// The about box: the program line and the version entries of this build.

#include "about/ProjectVersion.h"

#include <QDialog>

class QLabel;

namespace veskar {

class AboutDialog : public QDialog {
    Q_OBJECT
  public:
    explicit AboutDialog(QWidget* parent, const ProjectVersion& version = ProjectVersion());

    [[nodiscard]] QString productLine() const;
    [[nodiscard]] QString copyrightLine() const;
    [[nodiscard]] QString trademarkLine() const;
    [[nodiscard]] QString buildLine() const;

  private:
    QLabel* m_product;
    QLabel* m_copyright;
    QLabel* m_trademark;
    QLabel* m_build;
};

} // namespace veskar
