#include "app/EditorDialog.h"

#include "app/MessageService.h"
#include "database/Document.h"

#include <QLineEdit>

namespace veskar {

EditorDialog::EditorDialog(QWidget* parent, Document& document, MessageService& messages, QString phrase)
    : QDialog(parent), m_document(document), m_messages(messages), m_phrase(std::move(phrase))
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
    if (changed)
        m_document.DatabaseChanged = true;
    return true;
}

void EditorDialog::done(int result)
{
    if (CanClose(result == QDialog::Accepted))
        QDialog::done(result);
}

bool EditorDialog::Refuse(QLineEdit* field, MessageKind kind, const QString& text)
{
    m_messages.Tell(this, kind, text);
    if (field) {
        field->setFocus(Qt::OtherFocusReason);
        field->selectAll();
    }
    return false;
}

} // namespace veskar
