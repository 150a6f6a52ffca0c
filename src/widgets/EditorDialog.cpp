#include "widgets/EditorDialog.h"

#include "database/Document.h"
#include "widgets/MessageService.h"
#include "widgets/QtText.h"

#include <QLineEdit>

namespace veskar {

EditorDialog::EditorDialog(QWidget* parent, MessageService& messages, QString phrase, Document* marked)
    : QDialog(parent), m_messages(messages), m_phrase(std::move(phrase)), m_marked(marked)
{
}

bool EditorDialog::CanClose(bool exitAndSave)
{
    const bool changed = Changed();
    if (!exitAndSave)
        return !changed || m_messages.ConfirmDiscard(this, m_phrase);
    if (!Check())
        return false;
    Store();
    if (changed && m_marked)
        m_marked->DatabaseChanged = true;
    return true;
}

void EditorDialog::done(int result)
{
    if (CanClose(result == QDialog::Accepted))
        QDialog::done(result);
}

void EditorDialog::Tell(MessageKind kind, const std::string& text, QLineEdit* field)
{
    m_messages.Tell(this, kind, Text(text));
    if (field) {
        field->setFocus(Qt::OtherFocusReason);
        field->selectAll();
    }
}

} // namespace veskar
