#include "users/UserDialog.h"

#include "database/Image.h"
#include "users/UserMessages.h"
#include "widgets/Latin1Validator.h"
#include "widgets/QtText.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace veskar {

namespace {

struct FieldSpec {
    UserField field;
    int id;
    const char* label;
    const char* unit;
};

constexpr std::array<FieldSpec, 6> kFields = {{
    {UserField::StartCode, 401, "'Start' Code", ""},
    {UserField::StopCode, 402, "'Stop' Code", ""},
    {UserField::EmergencyCode, 403, "'Emergency' Code", ""},
    {UserField::InterrogateCode, 404, "'Interrogate' Code", ""},
    {UserField::WarningInterval, 406, "Warning Interval", "Min."},
    {UserField::UserName, 405, "User Name", ""},
}};

} // namespace

UserDialog::UserDialog(QWidget* parent, MessageService& messages, UserData& record, int index,
                       std::span<const UserData, kUserCount> users, const SystemBlock& gen)
    : EditorDialog(parent, messages, Text(kUserFormSubject), nullptr), m_record(record), m_index(index),
      m_users(users), m_gen(gen), m_accepted(record)
{
    setWindowTitle(QStringLiteral("ID %1").arg(index + 1));
    setObjectName(QStringLiteral("UserDialog"));
    setProperty("helpTopic", QStringLiteral("user-settings.html"));

    auto* fields = new QGridLayout;
    for (std::size_t row = 0; row < kFields.size(); ++row) {
        const FieldSpec& spec = kFields[row];
        auto* edit = new QLineEdit;
        edit->setObjectName(QStringLiteral("edit%1").arg(spec.id));
        auto* label = new QLabel(QString::fromLatin1(spec.label));
        label->setBuddy(edit);
        fields->addWidget(label, static_cast<int>(row), 0);
        if (*spec.unit) {
            auto* withUnit = new QHBoxLayout;
            withUnit->addWidget(edit);
            withUnit->addWidget(new QLabel(QString::fromLatin1(spec.unit)));
            withUnit->addStretch();
            fields->addLayout(withUnit, static_cast<int>(row), 1);
        } else {
            fields->addWidget(edit, static_cast<int>(row), 1);
        }
        m_fields[static_cast<std::size_t>(spec.field)] = edit;
    }
    QLineEdit* name = field(UserField::UserName);
    name->setMaxLength(static_cast<int>(kNameLength));
    name->setValidator(new Latin1Validator(name));
    field(UserField::WarningInterval)->setMaximumWidth(60);
    fields->setRowStretch(static_cast<int>(kFields.size()), 1);

    auto* group = new QGroupBox(QStringLiteral("Timer Startup Settings"));
    group->setObjectName(QStringLiteral("group101"));
    auto* boxes = new QVBoxLayout(group);
    for (std::size_t i = 0; i < kUserOptions.size(); ++i) {
        auto* box = new QCheckBox(Text(kUserOptions[i].label));
        box->setObjectName(QStringLiteral("check%1").arg(kUserOptions[i].id));
        boxes->addWidget(box);
        m_options[i] = box;
    }
    connect(OptionFor(&UserRecord::askName), &QCheckBox::clicked, this, &UserDialog::CmAskName);
    connect(OptionFor(&UserRecord::askLocation), &QCheckBox::clicked, this, &UserDialog::CmAskLocation);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* columns = new QHBoxLayout;
    columns->addLayout(fields);
    columns->addWidget(group);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    SetupWindow();
}

QLineEdit* UserDialog::field(UserField which) const
{
    return m_fields.at(static_cast<std::size_t>(which));
}

QCheckBox* UserDialog::OptionFor(Byte UserRecord::*field) const
{
    for (std::size_t i = 0; i < kUserOptions.size(); ++i) {
        if (kUserOptions[i].field == field)
            return m_options[i];
    }
    return nullptr;
}

void UserDialog::SetupWindow()
{
    const UserEntries entries = EntriesFor(m_record);
    for (int i = 0; i < kUserCodeCount; ++i)
        field(static_cast<UserField>(i))->setText(Latin1Text(entries.codes[static_cast<std::size_t>(i)]));
    field(UserField::WarningInterval)->setText(Latin1Text(entries.warningInterval));
    field(UserField::UserName)->setText(Latin1Text(entries.userName));
    for (std::size_t i = 0; i < kUserOptions.size(); ++i) {
        m_options[i]->setChecked(entries.options[i]);
        m_options[i]->setVisible(kUserOptions[i].shown);
    }
}

UserEntries UserDialog::Entries() const
{
    UserEntries entries;
    for (int i = 0; i < kUserCodeCount; ++i)
        entries.codes[static_cast<std::size_t>(i)] = Latin1Bytes(field(static_cast<UserField>(i))->text());
    entries.warningInterval = Latin1Bytes(field(UserField::WarningInterval)->text());
    entries.userName = Latin1Bytes(field(UserField::UserName)->text());
    for (std::size_t i = 0; i < kUserOptions.size(); ++i)
        entries.options[i] = m_options[i]->isChecked();
    return entries;
}

void UserDialog::TickVoiceUnlessCode(Byte UserRecord::*ask, Byte UserRecord::*code, Byte UserRecord::*voice)
{
    if (OptionFor(ask)->isChecked() && !OptionFor(code)->isChecked())
        OptionFor(voice)->setChecked(true);
}

void UserDialog::CmAskName()
{
    TickVoiceUnlessCode(&UserRecord::askName, &UserRecord::useDtmfName, &UserRecord::useVoiceName);
}

void UserDialog::CmAskLocation()
{
    TickVoiceUnlessCode(&UserRecord::askLocation, &UserRecord::useDtmfLocation,
                        &UserRecord::useVoiceLocation);
}

bool UserDialog::Changed() const
{
    return EntriesChanged(Entries(), m_record);
}

bool UserDialog::Check()
{
    const UserCheck check = CheckUserEntries(Entries(), m_record, m_index, m_users, m_gen);
    if (check.notice)
        Tell(check.notice->kind, check.notice->text);
    if (check.refusal) {
        Tell(check.refusal->kind, check.refusal->text, field(check.refusal->focus));
        return false;
    }
    m_accepted = check.accepted;
    return true;
}

void UserDialog::Store()
{
    m_record = m_accepted;
}

} // namespace veskar
