#include "widgets/MessageService.h"

#include "database/DataFile.h"
#include "widgets/CommandFlags.h"
#include "widgets/QtText.h"
#include "widgets/WarningDialog.h"

#include <QMessageBox>

namespace veskar {

void MessageService::Error(QWidget* parent, const QString& text)
{
    Tell(parent, MessageKind::Error, text);
}

MessageService::Answer MessageService::Tell(QWidget* parent, MessageKind kind, const QString& text)
{
    switch (kind) {
    case MessageKind::Error:
        return Show(parent, QString::fromLatin1(kErrorCaption), Icon::Stop, Buttons::Ok, text);
    case MessageKind::Warning:
        return Show(parent, QString::fromLatin1(kWarningCaption), Icon::Exclamation, Buttons::Ok, text);
    case MessageKind::Question:
        return Show(parent, QString::fromLatin1(kWarningCaption), Icon::Exclamation, Buttons::YesNo, text);
    }
    return Answer::Ok;
}

void MessageService::FileError(QWidget* parent, const QString& text)
{
    Show(parent, Text(kFileErrorCaption), Icon::Exclamation, Buttons::Ok, text);
}

MessageService::Answer MessageService::Query(QWidget* parent, Buttons buttons, const QString& text)
{
    return Show(parent, QString::fromLatin1(kQueryCaption), Icon::Question, buttons, text);
}

std::unique_ptr<QMessageBox> QtMessageService::MakeBox(QWidget* parent, const QString& caption, Icon icon,
                                                       Buttons buttons, const QString& text)
{
    auto box = std::make_unique<QMessageBox>(parent);
    // Over a window-modal dialog the box blocks only that dialog's windows, so
    // a window standing apart (the summary beside the programming questions) stays usable.
    if (parent && parent->window()->windowModality() == Qt::WindowModal)
        box->setWindowModality(Qt::WindowModal);
    box->setWindowTitle(caption);
    box->setText(text);
    box->setTextFormat(Qt::PlainText);
    switch (icon) {
    case Icon::None: box->setIcon(QMessageBox::NoIcon); break;
    case Icon::Stop: box->setIcon(QMessageBox::Critical); break;
    case Icon::Exclamation: box->setIcon(QMessageBox::Warning); break;
    case Icon::Question: box->setIcon(QMessageBox::Question); break;
    case Icon::Information: box->setIcon(QMessageBox::Information); break;
    }
    switch (buttons) {
    case Buttons::Ok: box->setStandardButtons(QMessageBox::Ok); break;
    case Buttons::YesNo:
    case Buttons::YesNoSafe:
        box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box->setDefaultButton(buttons == Buttons::YesNo ? QMessageBox::Yes : QMessageBox::No);
        break;
    case Buttons::YesNoCancel:
        box->setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box->setDefaultButton(QMessageBox::Yes);
        box->setEscapeButton(QMessageBox::Cancel);
        break;
    }
    return box;
}

MessageService::Answer QtMessageService::Show(QWidget* parent, const QString& caption, Icon icon,
                                              Buttons buttons, const QString& text)
{
    const std::unique_ptr<QMessageBox> box = MakeBox(parent, caption, icon, buttons, text);
    m_open.emplace_back(box.get());
    const int result = box->exec();
    std::erase(m_open, box.get());
    switch (result) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Cancel: return Answer::Cancel;
    default: break;
    }
    // A Yes/No box closed otherwise (Escape) counts as No.
    return buttons == Buttons::Ok ? Answer::Ok : Answer::No;
}

void QtMessageService::Dismiss(QWidget* parent)
{
    for (const QPointer<QMessageBox>& box : m_open)
        if (box && box->parentWidget() == parent)
            box->reject();
}

bool QtMessageService::ConfirmDiscard(QWidget* parent, const QString& name)
{
    WarningDialog dialog(parent, name);
    dialog.exec();
    return UniversalFlag == 0;
}

MessageService::Answer ScriptedMessageService::Show(QWidget*, const QString& caption, Icon icon,
                                                    Buttons buttons, const QString& text)
{
    boxes.push_back({caption, icon, buttons, text});
    if (!m_answers.empty()) {
        const Scripted scripted = m_answers.front();
        m_answers.pop_front();
        if (scripted.whileOpen) {
            ++m_openBoxes;
            scripted.whileOpen();
            --m_openBoxes;
        }
        return scripted.answer;
    }
    if (buttons == Buttons::Ok)
        return Answer::Ok;
    ++unscripted;
    return buttons == Buttons::YesNoCancel ? Answer::Cancel : Answer::No;
}

bool ScriptedMessageService::ConfirmDiscard(QWidget*, const QString& name)
{
    boxes.push_back(
        {QStringLiteral("WARNING"), Icon::Exclamation, Buttons::YesNo, WarningDialog::LineFor(name)});
    bool discard = false;
    if (!m_discards.empty()) {
        discard = m_discards.front();
        m_discards.pop_front();
    } else {
        ++unscripted;
    }
    UniversalFlag = discard ? 0 : 1;
    return discard;
}

void ScriptedMessageService::Dismiss(QWidget*)
{
    dismissed += m_openBoxes;
}

QStringList ScriptedMessageService::Texts() const
{
    QStringList texts;
    for (const Box& box : boxes)
        texts << box.text;
    return texts;
}

} // namespace veskar
