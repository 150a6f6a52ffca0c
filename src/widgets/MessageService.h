#pragma once

// Every message box of the program goes through one service, so the texts are
// shown exactly as given and tests can answer the boxes and read them back.

#include "widgets/Verdict.h"

#include <QPointer>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QMessageBox;
class QWidget;

namespace veskar {

class MessageService {
  public:
    enum class Icon { None, Stop, Exclamation, Question, Information };
    // YesNoSafe: a Yes/No question whose Yes destroys data, so Enter means No.
    enum class Buttons { Ok, YesNo, YesNoSafe, YesNoCancel };
    enum class Answer { Ok, Yes, No, Cancel };

    virtual ~MessageService() = default;

    virtual Answer Show(QWidget* parent, const QString& caption, Icon icon, Buttons buttons,
                        const QString& text) = 0;

    // The discard-changes dialog for the editor named `name`. Sets UniversalFlag;
    // true when the user chose to discard the edits.
    virtual bool ConfirmDiscard(QWidget* parent, const QString& name) = 0;

    // Closes the boxes open over `parent` whose question no longer stands;
    // each returns the answer that changes nothing (No, Cancel or OK).
    virtual void Dismiss(QWidget* parent) = 0;

    // The kinds the program uses.
    void Error(QWidget* parent, const QString& text);
    // An editor's verdict: Error, Warning (OK) or Question (Yes/No).
    Answer Tell(QWidget* parent, MessageKind kind, const QString& text);
    void FileError(QWidget* parent, const QString& text);
    [[nodiscard]] Answer Query(QWidget* parent, Buttons buttons, const QString& text);
};

class QtMessageService final : public MessageService {
  public:
    // The box Show() runs, for callers that only render it.
    [[nodiscard]] static std::unique_ptr<QMessageBox>
    MakeBox(QWidget* parent, const QString& caption, Icon icon, Buttons buttons, const QString& text);
    Answer Show(QWidget* parent, const QString& caption, Icon icon, Buttons buttons,
                const QString& text) override;
    bool ConfirmDiscard(QWidget* parent, const QString& name) override;
    void Dismiss(QWidget* parent) override;

  private:
    std::vector<QPointer<QMessageBox>> m_open;
};

// Answers from a script and records every box. An unscripted box is answered
// Ok, No or Cancel (whichever it offers last) and counted in `unscripted`.
class ScriptedMessageService final : public MessageService {
  public:
    struct Box {
        QString caption;
        Icon icon;
        Buttons buttons;
        QString text;
    };

    // `whileOpen` runs while the box is up, before it is answered, as the
    // event loop would go on under a real box.
    void Script(Answer answer, std::function<void()> whileOpen = {})
    {
        m_answers.push_back({answer, std::move(whileOpen)});
    }
    void ScriptDiscard(bool discard) { m_discards.push_back(discard); }

    Answer Show(QWidget* parent, const QString& caption, Icon icon, Buttons buttons,
                const QString& text) override;
    bool ConfirmDiscard(QWidget* parent, const QString& name) override;
    void Dismiss(QWidget* parent) override;

    [[nodiscard]] QStringList Texts() const;
    [[nodiscard]] bool AllAnswersUsed() const { return m_answers.empty() && m_discards.empty(); }

    std::vector<Box> boxes;
    int unscripted = 0;
    int dismissed = 0; // boxes closed by Dismiss while they were open

  private:
    struct Scripted {
        Answer answer;
        std::function<void()> whileOpen;
    };
    std::deque<Scripted> m_answers;
    int m_openBoxes = 0;
    std::deque<bool> m_discards;
};

} // namespace veskar
