#include "directories/CopyDirDialog.h"

#include "database/Document.h"
#include "directories/DirectoryEditing.h"
#include "widgets/MessageService.h"
#include "widgets/QtText.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace veskar {

CopyDirDialog::CopyDirDialog(QWidget* parent, Document& document, MessageService& messages)
    : QDialog(parent), m_document(document), m_messages(messages)
{
    setObjectName(QStringLiteral("CopyDirDialog"));
    setWindowTitle(QStringLiteral(" "));
    setProperty("helpTopic", QStringLiteral("copy-directory.html"));

    auto* groups = new QHBoxLayout;
    const auto side = [&](const char* title, int group, int firstId, std::array<QRadioButton*, 4>& buttons) {
        auto* box = new QGroupBox(QString::fromLatin1(title));
        box->setObjectName(QStringLiteral("group%1").arg(group));
        auto* column = new QVBoxLayout(box);
        for (int d = 0; d < 4; ++d) {
            auto* button =
                new QRadioButton(QStringLiteral("Directory ") + QChar::fromLatin1(DirectoryLetter(d)));
            button->setObjectName(QStringLiteral("radio%1").arg(firstId + d));
            column->addWidget(button);
            buttons[static_cast<std::size_t>(d)] = button;
        }
        groups->addWidget(box);
    };
    side("From", 501, 201, m_from);
    side("To", 502, 205, m_to);
    for (int d = 0; d < 4; ++d) {
        connect(from(d), &QRadioButton::clicked, this, [this, d] { Select(m_to, d); });
        connect(to(d), &QRadioButton::clicked, this, [this, d] { Select(m_from, d); });
    }

    m_copy = new QPushButton(QStringLiteral("&Copy"));
    m_copy->setObjectName(QStringLiteral("button701"));
    auto* cancel = new QPushButton(QStringLiteral("Cancel"));
    cancel->setObjectName(QStringLiteral("button2"));
    connect(m_copy, &QPushButton::clicked, this, &CopyDirDialog::Copy);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_copy);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(groups);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CopyDirDialog::Select(const std::array<QRadioButton*, 4>& other, int directory)
{
    for (int d = 0; d < 4; ++d) {
        QRadioButton* button = other[static_cast<std::size_t>(d)];
        if (d == directory && button->isChecked()) {
            // Radio buttons do not uncheck themselves; leave the group for a moment.
            button->setAutoExclusive(false);
            button->setChecked(false);
            button->setAutoExclusive(true);
        }
        button->setEnabled(d != directory);
    }
}

int CopyDirDialog::Chosen(const std::array<QRadioButton*, 4>& side)
{
    for (int d = 0; d < 4; ++d) {
        if (side[static_cast<std::size_t>(d)]->isChecked())
            return d;
    }
    return -1;
}

void CopyDirDialog::Copy()
{
    const int source = Chosen(m_from);
    const int target = Chosen(m_to);
    if (source < 0 || target < 0 || source == target)
        return;
    if (m_messages.Tell(this, MessageKind::Question, Text(CopyQuestion(source, target))) !=
        MessageService::Answer::Yes)
        return;
    Image& image = m_document.image;
    if (image.dir[static_cast<std::size_t>(target)] == image.dir[static_cast<std::size_t>(source)])
        return;
    CopyDirectory(image, source, target);
    m_document.DatabaseChanged = true;
}

} // namespace veskar
