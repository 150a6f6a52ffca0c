#include "widgets/FileChooser.h"

#include <QFileDialog>
#include <QFileInfo>

namespace veskar {

const FileKind& DataFiles()
{
    static const FileKind kind{QStringLiteral("Data files (*.dat)"), QStringLiteral("dat")};
    return kind;
}

const FileKind& VocabularyFiles()
{
    static const FileKind kind{QStringLiteral("Vocabulary files (*.bin)"), QStringLiteral("bin")};
    return kind;
}

const FileKind& VoiceFiles()
{
    static const FileKind kind{QStringLiteral("Voice files (*.msg)"), QStringLiteral("msg")};
    return kind;
}

std::optional<QString> QtFileChooser::Run(QWidget* parent, const FileKind& kind, const QString& preset, bool save)
{
    QFileDialog dialog(parent);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilter(kind.filter);
    dialog.setDefaultSuffix(kind.suffix);
    const auto last = m_lastFolder.find(kind.filter);
    if (last != m_lastFolder.end() && !preset.contains(QLatin1Char('/')))
        dialog.setDirectory(last->second);
    if (!preset.isEmpty())
        dialog.selectFile(preset);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const QString chosen = dialog.selectedFiles().constFirst();
    m_lastFolder[kind.filter] = QFileInfo(chosen).absolutePath();
    return chosen;
}

std::optional<QString> QtFileChooser::OpenFile(QWidget* parent, const FileKind& kind, const QString& preset)
{
    return Run(parent, kind, preset, false);
}

std::optional<QString> QtFileChooser::SaveFile(QWidget* parent, const FileKind& kind, const QString& preset)
{
    return Run(parent, kind, preset, true);
}

std::optional<QString> ScriptedFileChooser::OpenFile(QWidget*, const FileKind& kind, const QString& preset)
{
    return Next(Kind::Open, preset, kind.filter);
}

std::optional<QString> ScriptedFileChooser::SaveFile(QWidget*, const FileKind& kind, const QString& preset)
{
    return Next(Kind::Save, preset, kind.filter);
}

std::optional<QString> ScriptedFileChooser::Next(Kind kind, const QString& preset, const QString& filter)
{
    calls.push_back({kind, preset, filter});
    if (m_answers.empty())
        return std::nullopt;
    const Answer answer = m_answers.front();
    m_answers.pop_front();
    if (!answer.chosen)
        return std::nullopt;
    return answer.name;
}

} // namespace veskar
