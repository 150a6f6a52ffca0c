#include "system/GeneralDialog.h"

#include "database/Document.h"
#include "system/CallProgress.h"
#include "system/ModbusDialog.h"
#include "system/SystemMessages.h"
#include "system/SystemWhatsThis.h"
#include "widgets/Latin1Validator.h"
#include "widgets/QtText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace veskar {

namespace {

struct FieldSpec {
    SystemField field;
    int id;
    const char* label;
    bool minutes;
};

constexpr std::array<FieldSpec, 8> kFieldSpecs = {{
    {SystemField::SiteName, 404, "Site Name", false},
    {SystemField::Access, 401, "Access", false},
    {SystemField::Acknowledge, 402, "Acknowledge", false},
    {SystemField::Interrogate, 403, "Interrogate", false},
    {SystemField::DirectoryControl, 406, "Directory Control", false},
    {SystemField::TimerA, 407, "Timer A", true},
    {SystemField::TimerB, 408, "Timer B", true},
    {SystemField::DefaultTimer, 405, "Default Timer", true},
}};

const FieldSpec& SpecOf(SystemField field)
{
    return kFieldSpecs[static_cast<std::size_t>(field)];
}

// A labelled edit (with "Min." after the timers) in one row of a grid.
void AddFieldRow(QGridLayout* grid, int row, QLineEdit* edit, const FieldSpec& spec)
{
    auto* label = new QLabel(QString::fromLatin1(spec.label));
    label->setBuddy(edit);
    grid->addWidget(label, row, 0);
    grid->addWidget(edit, row, 1);
    if (spec.minutes) {
        edit->setMaximumWidth(70);
        grid->addWidget(new QLabel(QStringLiteral("Min.")), row, 2);
    }
}

template <std::size_t N> QComboBox* List(int id, const std::array<std::string_view, N>& items)
{
    auto* list = new QComboBox;
    list->setObjectName(QStringLiteral("list%1").arg(id));
    for (std::string_view item : items)
        list->addItem(Text(item));
    return list;
}

template <typename Button> Button* Named(Button* button, const QString& kind, int id)
{
    button->setObjectName(kind + QString::number(id));
    return button;
}

} // namespace

GeneralDialog::GeneralDialog(QWidget* parent, Document& document, MessageService& messages,
                             DialogRunner runNested)
    : EditorDialog(parent, messages, Text(kSystemFormSubject), &document), m_document(document),
      m_runNested(std::move(runNested))
{
    setWindowTitle(QStringLiteral("SYSTEM SETTINGS"));
    setObjectName(QStringLiteral("GeneralDialog"));
    setProperty("helpTopic", QStringLiteral("system.html"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, true);

    for (const FieldSpec& spec : kFieldSpecs) {
        auto* edit = new QLineEdit;
        edit->setObjectName(QStringLiteral("edit%1").arg(spec.id));
        m_fields[static_cast<std::size_t>(spec.field)] = edit;
    }
    QLineEdit* site = field(SystemField::SiteName);
    site->setMaxLength(static_cast<int>(kNameLength));
    site->setValidator(new Latin1Validator(site));

    auto* siteRow = new QGridLayout;
    AddFieldRow(siteRow, 0, site, SpecOf(SystemField::SiteName));

    auto* left = new QVBoxLayout;
    left->addWidget(BuildCodes());
    left->addWidget(BuildTimers());
    left->addStretch();

    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addWidget(BuildOptions());

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(siteRow);
    layout->addLayout(columns);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    for (const FieldSpec& spec : kFieldSpecs)
        m_controls.insert(spec.id, field(spec.field));
    const std::pair<int, QWidget*> others[] = {
        {301, m_timesA},       {303, m_rings},         {205, m_tone},         {206, m_pulse},
        {207, m_busyLow},      {208, m_busyHigh},      {313, m_radioWarning}, {310, m_ackRequest},
        {312, m_callProgress}, {311, m_recordedSiteId}};
    for (const auto& [id, widget] : others)
        m_controls.insert(id, widget);
    for (const WhatsThisText& help : kSystemWhatsThis) {
        QWidget* widget = control(help.id);
        widget->setWhatsThis(Text(help.text));
        for (auto* label : findChildren<QLabel*>()) {
            if (label->buddy() == widget)
                label->setWhatsThis(Text(help.text));
        }
    }

    SetupWindow();
}

QWidget* GeneralDialog::BuildCodes()
{
    auto* group = new QGroupBox(QStringLiteral("Control Codes"));
    auto* grid = new QGridLayout(group);
    const SystemField codes[] = {SystemField::Access, SystemField::Acknowledge, SystemField::Interrogate,
                                 SystemField::DirectoryControl};
    int row = 0;
    for (SystemField code : codes)
        AddFieldRow(grid, row++, field(code), SpecOf(code));
    return group;
}

QWidget* GeneralDialog::BuildTimers()
{
    auto* group = new QGroupBox(QStringLiteral("Timers"));
    auto* grid = new QGridLayout(group);
    AddFieldRow(grid, 0, field(SystemField::TimerA), SpecOf(SystemField::TimerA));
    AddFieldRow(grid, 1, field(SystemField::TimerB), SpecOf(SystemField::TimerB));
    m_timesA = List(301, kTimesAItems);
    auto* label = new QLabel(QStringLiteral("Times A"));
    label->setBuddy(m_timesA);
    grid->addWidget(label, 2, 0);
    grid->addWidget(m_timesA, 2, 1);
    grid->setColumnStretch(3, 1);
    return group;
}

QWidget* GeneralDialog::BuildOptions()
{
    auto* dialing = new QGroupBox(QStringLiteral("Dialing"));
    auto* dialingRows = new QVBoxLayout(dialing);
    dialingRows->addWidget(m_tone =
                               Named(new QRadioButton(QStringLiteral("Tone")), QStringLiteral("radio"), 205));
    dialingRows->addWidget(
        m_pulse = Named(new QRadioButton(QStringLiteral("Pulse")), QStringLiteral("radio"), 206));

    auto* squelch = new QGroupBox(QStringLiteral("Squelch Polarity"));
    auto* squelchRows = new QVBoxLayout(squelch);
    squelchRows->addWidget(
        m_busyLow = Named(new QRadioButton(QStringLiteral("Busy Low (gnd)")), QStringLiteral("radio"), 207));
    squelchRows->addWidget(m_busyHigh = Named(new QRadioButton(QStringLiteral("Busy High (open)")),
                                              QStringLiteral("radio"), 208));

    auto* radios = new QHBoxLayout;
    radios->addWidget(dialing);
    radios->addWidget(squelch);

    const QString check = QStringLiteral("check");
    m_radioWarning =
        Named(new QCheckBox(QStringLiteral("Radio Warning (when busy on the phone line)")), check, 313);
    m_ackRequest = Named(new QCheckBox(QStringLiteral("Use Acknowledge Request")), check, 310);
    m_callProgress = Named(new QCheckBox(QStringLiteral("Use Call Progress")), check, 312);
    m_recordedSiteId = Named(new QCheckBox(QStringLiteral("Use Recorded Site ID")), check, 311);
    connect(m_callProgress, &QCheckBox::clicked, this, &GeneralDialog::ProgressChanged);

    m_rings = List(303, kRingsItems);
    auto* numbers = new QGridLayout;
    auto* ringsLabel = new QLabel(QStringLiteral("Rings Before Answer"));
    ringsLabel->setBuddy(m_rings);
    numbers->addWidget(ringsLabel, 0, 0);
    numbers->addWidget(m_rings, 0, 1);
    AddFieldRow(numbers, 1, field(SystemField::DefaultTimer), SpecOf(SystemField::DefaultTimer));

    auto* modbus = Named(new QPushButton(QStringLiteral("Modbus Settings")), QStringLiteral("button"), 701);
    m_controls.insert(701, modbus);
    modbus->setAutoDefault(false);
    connect(modbus, &QPushButton::clicked, this, &GeneralDialog::CmModbus);

    auto* options = new QWidget;
    auto* rows = new QVBoxLayout(options);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->addLayout(radios);
    for (QCheckBox* box : {m_radioWarning, m_ackRequest, m_callProgress, m_recordedSiteId})
        rows->addWidget(box);
    rows->addLayout(numbers);
    rows->addWidget(modbus, 0, Qt::AlignLeft);
    rows->addStretch();
    return options;
}

QWidget* GeneralDialog::control(int id) const
{
    return m_controls.value(id);
}

void GeneralDialog::SetupWindow()
{
    const SystemEntries entries = LoadSystemEntries(m_document.image.gen);
    field(SystemField::SiteName)->setText(Latin1Text(entries.siteName));
    for (int i = 0; i < kSystemCodeCount; ++i) {
        const auto code = static_cast<SystemCode>(i);
        field(FieldOf(code))->setText(Latin1Text(entries.code(code)));
    }
    field(SystemField::DefaultTimer)->setText(Latin1Text(entries.defaultTimer));
    field(SystemField::TimerA)->setText(Latin1Text(entries.timerA));
    field(SystemField::TimerB)->setText(Latin1Text(entries.timerB));
    m_timesA->setCurrentIndex(entries.timesA);
    m_rings->setCurrentIndex(entries.rings);
    (entries.squelchHigh ? m_busyHigh : m_busyLow)->setChecked(true);
    (entries.pulseDial ? m_pulse : m_tone)->setChecked(true);
    m_ackRequest->setChecked(entries.useAckRequest);
    m_radioWarning->setChecked(entries.radioWarning);
    m_callProgress->setChecked(entries.useCallProgress);
    m_recordedSiteId->setChecked(entries.useRecordedSiteId);
    m_mbus = entries.mbus;
}

SystemEntries GeneralDialog::Entries() const
{
    SystemEntries entries;
    entries.siteName = Latin1Bytes(field(SystemField::SiteName)->text());
    for (int i = 0; i < kSystemCodeCount; ++i) {
        const auto code = static_cast<SystemCode>(i);
        entries.code(code) = Latin1Bytes(field(FieldOf(code))->text());
    }
    entries.timerA = Latin1Bytes(field(SystemField::TimerA)->text());
    entries.timerB = Latin1Bytes(field(SystemField::TimerB)->text());
    entries.defaultTimer = Latin1Bytes(field(SystemField::DefaultTimer)->text());
    entries.timesA = m_timesA->currentIndex();
    entries.rings = m_rings->currentIndex();
    entries.pulseDial = m_pulse->isChecked();
    entries.squelchHigh = m_busyHigh->isChecked();
    entries.radioWarning = m_radioWarning->isChecked();
    entries.useAckRequest = m_ackRequest->isChecked();
    entries.useCallProgress = m_callProgress->isChecked();
    entries.useRecordedSiteId = m_recordedSiteId->isChecked();
    entries.mbus = m_mbus;
    return entries;
}

void GeneralDialog::CmModbus()
{
    Modbusdata copy = m_mbus;
    ModbusDialog form(this, messages(), copy);
    if (m_runNested)
        m_runNested(form);
    else
        form.exec();
    m_mbus = copy;
}

void GeneralDialog::ProgressChanged(bool ticked)
{
    if (!ticked)
        return;
    const std::string warning = CallProgressWarning(DirectoriesAnsweringAfterDial(m_document.image.dir));
    if (!warning.empty())
        Tell(MessageKind::Warning, warning);
}

bool GeneralDialog::Changed() const
{
    return SystemEntriesChanged(Entries(), m_document.image.gen);
}

bool GeneralDialog::Check()
{
    if (const CheckResult<SystemField> refusal = CheckSystemEntries(Entries())) {
        Tell(refusal->kind, refusal->text, field(refusal->focus));
        return false;
    }
    return true;
}

// The clash warnings come after the store: the settings stay whatever the user reads.
void GeneralDialog::Store()
{
    const SystemEntries entries = Entries();
    StoreSystemEntries(entries, m_document.image.gen);
    for (const Verdict<SystemField>& clash : UserCodeClashes(entries, m_document.image.User))
        Tell(clash.kind, clash.text, field(clash.focus));
}

} // namespace veskar
