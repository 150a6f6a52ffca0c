#pragma once

// The modal editing form every configuration editor follows: OK runs the
// form's checks, then stores and marks the document changed when something
// differs; Cancel (or the close box) leaves the configuration untouched and,
// when something was edited, asks before discarding it. A form that edits a
// copy for another editor (a user row, the Modbus pair) marks nothing: the
// editor that owns the copy does, when it stores it.

#include "widgets/Verdict.h"

#include <QDialog>

#include <string>

class QLineEdit;

namespace veskar {

class Document;
class MessageService;

class EditorDialog : public QDialog {
    Q_OBJECT
  public:
    // `phrase` names the edits in the discard question ("the audio levels");
    // `marked` is the document marked changed on a changing OK, if any.
    EditorDialog(QWidget* parent, MessageService& messages, QString phrase, Document* marked);

    void done(int result) override;

  protected:
    // Whether the controls hold something other than what the form opened with.
    [[nodiscard]] virtual bool Changed() const = 0;
    // The form's checks in their order; a refusal goes through Refuse() and returns false.
    [[nodiscard]] virtual bool Check() { return true; }
    // Writes the controls into the document.
    virtual void Store() = 0;

    // Shows a verdict; a field named gets the focus with its text selected.
    void Tell(MessageKind kind, const std::string& text, QLineEdit* field = nullptr);

    MessageService& messages() { return m_messages; }

  private:
    [[nodiscard]] bool CanClose(bool exitAndSave);

    MessageService& m_messages;
    QString m_phrase;
    Document* m_marked;
};

} // namespace veskar
