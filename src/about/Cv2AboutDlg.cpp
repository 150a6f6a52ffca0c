#include "about/Cv2AboutDlg.h"

#include "widgets/Icons.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace veskar {

Cv2AboutDlg::Cv2AboutDlg(QWidget* parent, const TProjectRCVersion& version) : QDialog(parent)
{
    setWindowTitle(QString::fromLatin1(kAboutTitle));
    setObjectName(QStringLiteral("Cv2AboutDlg"));
    setProperty("helpTopic", QStringLiteral("about.html"));

    auto* icon = new QLabel;
    icon->setPixmap(ApplicationIcon().pixmap(48, 48));
    icon->setAlignment(Qt::AlignTop);

    auto* program = new QLabel(QString::fromLatin1(kAboutProgramLine));
    QFont bold = program->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.15);
    program->setFont(bold);

    const AboutLines lines = MakeAboutLines(version);
    m_product = new QLabel(QString::fromStdString(lines.product));
    m_copyright = new QLabel(QString::fromStdString(lines.copyright));
    m_trademark = new QLabel(QString::fromStdString(lines.trademark));
    m_build = new QLabel(QString::fromStdString(lines.build));
    m_product->setObjectName(QStringLiteral("static22001"));
    m_copyright->setObjectName(QStringLiteral("static22002"));
    m_build->setObjectName(QStringLiteral("static22003"));
    m_trademark->setObjectName(QStringLiteral("static22004"));
    for (QLabel* line : {program, m_product, m_copyright, m_trademark})
        line->setAlignment(Qt::AlignCenter);
    m_build->setAlignment(Qt::AlignRight);
    QFont small = m_build->font();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    m_build->setFont(small);
    m_build->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* texts = new QVBoxLayout;
    texts->addWidget(program);
    texts->addWidget(m_product);
    texts->addSpacing(6);
    texts->addWidget(m_copyright);
    texts->addWidget(m_trademark);

    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addSpacing(8);
    top->addLayout(texts, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(buttons);
    bottom->addStretch();
    bottom->addWidget(m_build);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(10);
    layout->addLayout(bottom);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString Cv2AboutDlg::productLine() const
{
    return m_product->text();
}

QString Cv2AboutDlg::copyrightLine() const
{
    return m_copyright->text();
}

QString Cv2AboutDlg::trademarkLine() const
{
    return m_trademark->text();
}

QString Cv2AboutDlg::buildLine() const
{
    return m_build->text();
}

} // namespace veskar
