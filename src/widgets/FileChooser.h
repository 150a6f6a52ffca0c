#pragma once

// The Open and Save As file dialogs behind one interface, so tests can answer them.

#include <QString>

#include <deque>
#include <map>
#include <optional>
#include <vector>

class QWidget;

namespace veskar {

// What a file dialog offers: "Data files (*.dat)" with the suffix "dat".
struct FileKind {
    QString filter;
    QString suffix;
};

const FileKind& DataFiles();
const FileKind& VocabularyFiles();
const FileKind& VoiceFiles();

class FileChooser {
  public:
    virtual ~FileChooser() = default;
    // The chosen name, or nothing when the user cancelled.
    virtual std::optional<QString> OpenFile(QWidget* parent, const FileKind& kind, const QString& preset) = 0;
    virtual std::optional<QString> SaveFile(QWidget* parent, const FileKind& kind, const QString& preset) = 0;

    std::optional<QString> OpenName(QWidget* parent, const QString& preset)
    {
        return OpenFile(parent, DataFiles(), preset);
    }
    std::optional<QString> SaveName(QWidget* parent, const QString& preset)
    {
        return SaveFile(parent, DataFiles(), preset);
    }
};

// Save asks before replacing a file. A bare name opens in the folder last used
// for that kind of file.
class QtFileChooser final : public FileChooser {
  public:
    std::optional<QString> OpenFile(QWidget* parent, const FileKind& kind, const QString& preset) override;
    std::optional<QString> SaveFile(QWidget* parent, const FileKind& kind, const QString& preset) override;

  private:
    std::optional<QString> Run(QWidget* parent, const FileKind& kind, const QString& preset, bool save);
    std::map<QString, QString> m_lastFolder; // by filter
};

class ScriptedFileChooser final : public FileChooser {
  public:
    enum class Kind { Open, Save };
    struct Call {
        Kind kind;
        QString preset;
        QString filter;
    };

    // An empty optional answers Cancel.
    void Script(const std::optional<QString>& answer)
    {
        m_answers.push_back({answer.has_value(), answer.value_or(QString())});
    }

    std::optional<QString> OpenFile(QWidget* parent, const FileKind& kind, const QString& preset) override;
    std::optional<QString> SaveFile(QWidget* parent, const FileKind& kind, const QString& preset) override;

    std::vector<Call> calls;

  private:
    std::optional<QString> Next(Kind kind, const QString& preset, const QString& filter);
    struct Answer {
        bool chosen;
        QString name;
    };
    std::deque<Answer> m_answers;
};

} // namespace veskar
