#pragma once

// The about box: the program line and the version entries of this build.

#include "about/ProjectVersion.h"

#include <QDialog>

class QLabel;

namespace veskar {

class Cv2AboutDlg : public QDialog {
    Q_OBJECT
  public:
    explicit Cv2AboutDlg(QWidget* parent, const TProjectRCVersion& version = TProjectRCVersion());

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
