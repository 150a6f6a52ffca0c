#include "widgets/WarningDialog.h"

#include "widgets/CommandFlags.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace veskar {

WarningDialog::WarningDialog(QWidget* parent, const QString& name) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("WARNING"));
    setObjectName(QStringLiteral("WarningDialog"));
    setProperty("helpTopic", QStringLiteral("editing.html"));

    auto* first = new QLabel(LineFor(name), this);
    first->setObjectName(QStringLiteral("line351"));
    auto* second = new QLabel(QStringLiteral("Proceed?"), this);
    second->setObjectName(QStringLiteral("line352"));
    for (QLabel* line : {first, second})
        line->setAlignment(Qt::AlignCenter);

    m_yes = new QPushButton(QStringLiteral("&Yes"), this);
    m_no = new QPushButton(QStringLiteral("&No"), this);
    // Keeping the edits is the safe answer to a stray Enter.
    m_no->setDefault(true);
    connect(m_yes, &QPushButton::clicked, this, &WarningDialog::NoSave);
    connect(m_no, &QPushButton::clicked, this, &WarningDialog::YesSave);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_yes);
    buttons->addWidget(m_no);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(first);
    layout->addWidget(second);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // Closing the box any other way keeps the edits too.
    UniversalFlag = 1;
}

QString WarningDialog::LineFor(const QString& name)
{
    return QStringLiteral("All changes made to ") + name + QStringLiteral(" will be lost.");
}

void WarningDialog::NoSave()
{
    UniversalFlag = 0;
    accept();
}

void WarningDialog::YesSave()
{
    UniversalFlag = 1;
    reject();
}

} // namespace veskar
