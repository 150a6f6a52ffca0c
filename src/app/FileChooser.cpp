#include "app/FileChooser.h"

#include <QFileDialog>

namespace veskar {

namespace {

std::optional<QString> Run(QWidget* parent, const QString& preset, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(parent);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setNameFilter(QStringLiteral("Data files (*.dat)"));
    dialog.setDefaultSuffix(QStringLiteral("dat"));
    if (!preset.isEmpty())
        dialog.selectFile(preset);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

} // namespace

std::optional<QString> QtFileChooser::OpenName(QWidget* parent, const QString& preset)
{
    return Run(parent, preset, QFileDialog::AcceptOpen);
}

std::optional<QString> QtFileChooser::SaveName(QWidget* parent, const QString& preset)
{
    return Run(parent, preset, QFileDialog::AcceptSave);
}

std::optional<QString> ScriptedFileChooser::OpenName(QWidget*, const QString& preset)
{
    return Next(Kind::Open, preset);
}

std::optional<QString> ScriptedFileChooser::SaveName(QWidget*, const QString& preset)
{
    return Next(Kind::Save, preset);
}

std::optional<QString> ScriptedFileChooser::Next(Kind kind, const QString& preset)
{
    calls.push_back({kind, preset});
    if (m_answers.empty())
        return std::nullopt;
    const Answer answer = m_answers.front();
    m_answers.pop_front();
    if (!answer.chosen)
        return std::nullopt;
    return answer.name;
}

} // namespace veskar
