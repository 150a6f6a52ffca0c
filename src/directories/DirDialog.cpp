#include "directories/DirDialog.h"

#include "directories/DirectoryEditing.h"
#include "directories/DirectoryTexts.h"
#include "widgets/Latin1Validator.h"
#include "widgets/MessageService.h"
#include "widgets/QtText.h"

#include <QButtonGroup>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

namespace veskar {

namespace {

struct CommandButton {
    LineCommand command;
    int id;
    const char* text;
};

constexpr std::array<CommandButton, 10> kButtons = {{
    {LineCommand::Dial, 701, "&Dial"},
    {LineCommand::Radio, 702, "&Radio"},
    {LineCommand::Wait, 703, "&Wait"},
    {LineCommand::Voice, 704, "&Voice"},
    {LineCommand::Dtmf, 705, "DTM&F"},
    {LineCommand::Answer, 706, "A&Nswer"},
    {LineCommand::Alert, 707, "A&Lert"},
    {LineCommand::TwoTone, 708, "&2 Tone"},
    {LineCommand::FiveTone, 709, "&5 Tone"},
    {LineCommand::SingleTone, 710, "&Single Tone"},
}};

constexpr const char* kMarker = "->";

} // namespace

DirDialog::DirDialog(QWidget* parent, MessageService& messages, int directory, int line, Editline& record,
                     bool useCallProgress)
    : EditorDialog(parent, messages, Text(kLineSubject), nullptr), m_record(record), m_work(record),
      m_useCallProgress(useCallProgress)
{
    m_record.accepted = false;
    m_work.accepted = false;
    setObjectName(QStringLiteral("DirDialog"));
    setProperty("helpTopic", QStringLiteral("directory-line.html"));
    setWindowTitle(Text(kLineEditorCaption) + QChar::fromLatin1(DirectoryLetter(directory)) +
                   Text(kLineEditorCaptionLine) + QString::number(line + 1));

    auto* rows = new QGridLayout;
    rows->addWidget(new QLabel(QStringLiteral("Command")), 0, 2);
    rows->addWidget(new QLabel(QStringLiteral("Value")), 0, 3);
    auto* selectors = new QButtonGroup(this);
    for (int r = 0; r < kMaxCommandsPerLine; ++r) {
        const auto i = static_cast<std::size_t>(r);
        m_selectors[i] = new QRadioButton;
        m_selectors[i]->setObjectName(QStringLiteral("select%1").arg(210 + r));
        selectors->addButton(m_selectors[i], r);
        m_markers[i] = new QLabel;
        m_markers[i]->setObjectName(QStringLiteral("marker%1").arg(363 + r));
        m_markers[i]->setMinimumWidth(m_markers[i]->fontMetrics().horizontalAdvance(QStringLiteral("->")) +
                                      4);
        m_labels[i] = new QLabel;
        m_labels[i]->setObjectName(QStringLiteral("label%1").arg(351 + r));
        m_labels[i]->setMinimumWidth(
            m_labels[i]->fontMetrics().horizontalAdvance(QStringLiteral(" [AUTO ACK] ")));
        m_values[i] = new QLineEdit;
        m_values[i]->setObjectName(QStringLiteral("value%1").arg(401 + r));
        m_values[i]->setValidator(new Latin1Validator(m_values[i]));
        m_values[i]->setMinimumWidth(
            m_values[i]->fontMetrics().horizontalAdvance(QString(24, QLatin1Char('0'))));
        // The limit holds for typing; a longer stored value is never cut, only shortened by the user.
        connect(m_values[i], &QLineEdit::textChanged, this, [this, i](const QString& text) {
            const int limit = ValueLimit(m_work.rows[i].label);
            m_values[i]->setMaxLength(std::max({1, limit, static_cast<int>(text.size())}));
        });
        m_labels[i]->installEventFilter(this);
        m_values[i]->installEventFilter(this);
        m_selectors[i]->installEventFilter(this);
        rows->addWidget(m_selectors[i], r + 1, 0);
        rows->addWidget(m_markers[i], r + 1, 1);
        rows->addWidget(m_labels[i], r + 1, 2);
        rows->addWidget(m_values[i], r + 1, 3);
    }
    connect(selectors, &QButtonGroup::idClicked, this, &DirDialog::UpdateSelect);

    auto* actions = new QGroupBox(Text(kLineEditorTitle));
    auto* buttons = new QVBoxLayout(actions);
    for (std::size_t i = 0; i < kButtons.size(); ++i) {
        auto* button = new QPushButton(QString::fromLatin1(kButtons[i].text));
        button->setObjectName(QStringLiteral("button%1").arg(kButtons[i].id));
        button->setAutoDefault(false);
        const LineCommand command = kButtons[i].command;
        connect(button, &QPushButton::clicked, this, [this, command] { Insert(command); });
        buttons->addWidget(button);
        m_commands[i] = button;
    }
    m_delete = new QPushButton(QStringLiteral("D&Elete"));
    m_delete->setObjectName(QStringLiteral("button711"));
    m_delete->setAutoDefault(false);
    connect(m_delete, &QPushButton::clicked, this, &DirDialog::DirDelete);
    m_delete->installEventFilter(this);
    buttons->addSpacing(8);
    buttons->addWidget(m_delete);
    buttons->addStretch();
    auto* ok = new QPushButton(QStringLiteral("OK"));
    ok->setObjectName(QStringLiteral("button718"));
    ok->setDefault(true); // Enter confirms
    auto* cancel = new QPushButton(QStringLiteral("Cancel"));
    cancel->setObjectName(QStringLiteral("button717"));
    cancel->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(rows);
    layout->addWidget(actions);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // Tab walks each row's selector, then its value.
    QWidget* previous = nullptr;
    for (std::size_t i = 0; i < m_selectors.size(); ++i) {
        if (previous)
            setTabOrder(previous, m_selectors[i]);
        setTabOrder(m_selectors[i], m_values[i]);
        previous = m_values[i];
    }

    RefreshSelect();
    m_selected = 0;
    ShowSelection();
    m_selectors[0]->setFocus();
}

QPushButton* DirDialog::commandButton(LineCommand command) const
{
    for (std::size_t i = 0; i < kButtons.size(); ++i) {
        if (kButtons[i].command == command)
            return m_commands[i];
    }
    return nullptr;
}

Editline DirDialog::Shown() const
{
    // A command without a value keeps what the block held for it.
    Editline shown = m_work;
    for (std::size_t i = 0; i < shown.rows.size(); ++i) {
        if (m_values[i]->isEnabled())
            shown.rows[i].value = Latin1Bytes(m_values[i]->text());
    }
    return shown;
}

void DirDialog::RefreshSelect()
{
    const int firstFree = m_work.commandCount();
    for (int r = 0; r < kMaxCommandsPerLine; ++r) {
        const auto i = static_cast<std::size_t>(r);
        const EditRow& row = m_work.rows[i];
        m_labels[i]->setText(Latin1Text(row.label));
        m_values[i]->setMaxLength(std::max({1, ValueLimit(row.label), static_cast<int>(row.value.size())}));
        m_values[i]->setText(Latin1Text(row.value));
        m_values[i]->setEnabled(r < firstFree && ValueLimit(row.label) > 0);
        m_selectors[i]->setEnabled(r <= firstFree);
        m_markers[i]->clear();
    }
}

void DirDialog::ShowSelection()
{
    for (std::size_t i = 0; i < m_markers.size(); ++i)
        m_markers[i]->setText(static_cast<int>(i) == m_selected ? QString::fromLatin1(kMarker) : QString());
    m_selectors[static_cast<std::size_t>(m_selected)]->setChecked(true);
}

void DirDialog::UpdateSelect(int row)
{
    if (row > LastSelectableRow(Shown()))
        return;
    const bool moved = row != m_selected;
    m_selected = row;
    ShowSelection();
    QLineEdit* value = m_values[static_cast<std::size_t>(row)];
    if (moved && !value->text().isEmpty() && value->isEnabled() && !value->hasFocus()) {
        value->setFocus(Qt::OtherFocusReason);
        value->selectAll();
    }
}

void DirDialog::Insert(LineCommand command)
{
    ReadRows();
    const InsertionVerdict verdict = CheckInsertion(m_work, m_selected, command, m_useCallProgress);
    if (verdict.outcome == Insertion::Refused) {
        messages().Error(this, Text(verdict.text));
        return;
    }
    if (verdict.outcome == Insertion::NothingToDo)
        return;
    if (!verdict.text.empty())
        messages().Tell(this, MessageKind::Warning, Text(verdict.text));
    if (LineFull(m_work) && messages().Tell(this, MessageKind::Question, Text(kMaxCommandsQuestion)) !=
                                MessageService::Answer::Yes)
        return;
    m_selected = InsertRow(m_work, m_selected, command);
    RefreshSelect();
    ShowSelection();
}

void DirDialog::DirDelete()
{
    m_deleting = m_selected != 0; // Tab then goes on from Delete, not back to row 0
    ReadRows();
    if (m_work.empty())
        return;
    if (m_selected == 0 && messages().Tell(this, MessageKind::Question, Text(kDeleteFirstQuestion)) !=
                               MessageService::Answer::Yes)
        return;
    m_selected = DeleteRow(m_work, m_selected);
    RefreshSelect();
    ShowSelection();
}

bool DirDialog::Changed() const
{
    return Shown().rows != m_record.rows;
}

bool DirDialog::Check()
{
    ReadRows();
    if (m_work.empty())
        return true; // an empty line closes at once; the directory window removes it
    const CheckResult<int> stop = ConfirmLine(m_work, [this](const LineVerdict& verdict) {
        return messages().Tell(this, verdict.kind, Text(verdict.text)) == MessageService::Answer::Yes;
    });
    if (!stop)
        return true;
    if (stop->focus != kNoRow) {
        QLineEdit* value = m_values[static_cast<std::size_t>(stop->focus)];
        UpdateSelect(stop->focus);
        value->setFocus(Qt::OtherFocusReason);
        value->selectAll();
    }
    return false;
}

void DirDialog::Store()
{
    m_record = m_work;
    m_record.accepted = !m_work.empty();
}

int DirDialog::RowOf(const QObject* control) const
{
    for (std::size_t i = 0; i < m_labels.size(); ++i) {
        if (control == m_labels[i] || control == m_values[i] || control == m_selectors[i])
            return static_cast<int>(i);
    }
    return -1;
}

void DirDialog::SelectByKey(int row)
{
    m_selected = row;
    m_focused = row;
    ShowSelection();
    m_selectors[static_cast<std::size_t>(row)]->setFocus(Qt::TabFocusReason);
}

// Tab walks the rows and, from Delete, goes back to row 0 unless Delete has
// just been used; Up and Down move the selection from selector to selector.
bool DirDialog::KeyPressed(const QObject* watched, int row, const QKeyEvent& key)
{
    const bool tab = key.key() == Qt::Key_Tab &&
                     !(key.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier));
    if (watched == m_delete) {
        if (!tab || m_deleting)
            return false;
        SelectByKey(0);
        return true;
    }
    const auto i = static_cast<std::size_t>(row);
    const bool onSelector = watched == m_selectors[i];
    if (onSelector && (key.key() == Qt::Key_Up || key.key() == Qt::Key_Down)) {
        const int to = row + (key.key() == Qt::Key_Down ? 1 : -1);
        if (to >= 0 && to <= LastSelectableRow(Shown()))
            SelectByKey(to);
        return true;
    }
    if (!tab || (!onSelector && watched != m_values[i]))
        return false;
    switch (NextOnTab(Shown(), row, !onSelector, m_focused)) {
    case TabStop::Value:
        m_values[i]->setFocus(Qt::TabFocusReason);
        m_values[i]->selectAll();
        return true;
    case TabStop::NextRow: SelectByKey(row + 1); return true;
    case TabStop::Onward: break;
    }
    return false;
}

bool DirDialog::eventFilter(QObject* watched, QEvent* event)
{
    const int row = RowOf(watched);
    if (event->type() == QEvent::KeyPress && (row >= 0 || watched == m_delete) &&
        KeyPressed(watched, row, static_cast<const QKeyEvent&>(*event)))
        return true;
    if (event->type() == QEvent::FocusIn && row >= 0 && watched == selector(row))
        m_focused = row;
    if (event->type() == QEvent::FocusOut && watched == m_delete)
        m_deleting = false;
    const bool labelClick = event->type() == QEvent::MouseButtonPress && watched == label(std::max(row, 0));
    const bool valueFocus = event->type() == QEvent::FocusIn && row >= 0 && watched == valueField(row);
    if (row >= 0 && (labelClick || valueFocus))
        UpdateSelect(row);
    return EditorDialog::eventFilter(watched, event);
}

} // namespace veskar
