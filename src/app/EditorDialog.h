#pragma once

// The modal editing form every configuration editor follows: OK runs the
// form's checks, then stores and marks the document changed when something
// differs; Cancel (or the close box) leaves the configuration untouched and,
// when something was edited, asks before discarding it.

#include "app/Verdict.h"

#include <QDialog>

class QLineEdit;

namespace veskar {

class Document;
class MessageService;

class EditorDialog : public QDialog {
    Q_OBJECT
  public:
    // `phrase` names the edits in the discard question ("the audio levels").
    EditorDialog(QWidget* parent, Document& document, MessageService& messages, QString phrase);

    void done(int result) override;

  protected:
    // Whether the controls hold something other than what the form opened with.
    [[nodiscard]] virtual bool Changed() const = 0;
    // The form's checks in their order; a refusal goes through Refuse() and returns false.
    [[nodiscard]] virtual bool Check() { return true; }
    // Writes the controls into the document.
    virtual void Store() = 0;

    // Reports a refused value: the message, then the field focused with its text selected.
    bool Refuse(QLineEdit* field, MessageKind kind, const QString& text);

    Document& document() { return m_document; }
    MessageService& messages() { return m_messages; }

  private:
    [[nodiscard]] bool CanClose(bool exitAndSave);

    Document& m_document;
    MessageService& m_messages;
    QString m_phrase;
};

} // namespace veskar
