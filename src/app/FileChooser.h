#pragma once

// The Open and Save As file dialogs behind one interface, so tests can answer them.

#include <QString>

#include <deque>
#include <optional>
#include <vector>

class QWidget;

namespace veskar {

class FileChooser {
  public:
    virtual ~FileChooser() = default;
    // The chosen name, or nothing when the user cancelled.
    virtual std::optional<QString> OpenName(QWidget* parent, const QString& preset) = 0;
    virtual std::optional<QString> SaveName(QWidget* parent, const QString& preset) = 0;
};

// Filtered to data files; Save asks before replacing a file.
class QtFileChooser final : public FileChooser {
  public:
    std::optional<QString> OpenName(QWidget* parent, const QString& preset) override;
    std::optional<QString> SaveName(QWidget* parent, const QString& preset) override;
};

class ScriptedFileChooser final : public FileChooser {
  public:
    enum class Kind { Open, Save };
    struct Call {
        Kind kind;
        QString preset;
    };

    // An empty optional answers Cancel.
    void Script(const std::optional<QString>& answer)
    {
        m_answers.push_back({answer.has_value(), answer.value_or(QString())});
    }

    std::optional<QString> OpenName(QWidget* parent, const QString& preset) override;
    std::optional<QString> SaveName(QWidget* parent, const QString& preset) override;

    std::vector<Call> calls;

  private:
    std::optional<QString> Next(Kind kind, const QString& preset);
    struct Answer {
        bool chosen;
        QString name;
    };
    std::deque<Answer> m_answers;
};

} // namespace veskar
