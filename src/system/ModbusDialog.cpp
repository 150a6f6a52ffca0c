#include "system/ModbusDialog.h"

#include "system/SystemMessages.h"
#include "system/SystemWhatsThis.h"
#include "widgets/QtText.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace veskar {

ModbusDialog::ModbusDialog(QWidget* parent, MessageService& messages, Modbusdata& record)
    : EditorDialog(parent, messages, Text(kModbusFormSubject), nullptr), m_record(record)
{
    setWindowTitle(QStringLiteral("Modbus Settings"));
    setObjectName(QStringLiteral("ModbusDialog"));
    setProperty("helpTopic", QStringLiteral("modbus.html"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, true);

    m_address = new QLineEdit;
    m_address->setObjectName(QStringLiteral("edit401"));
    m_address->setMaximumWidth(80);
    m_baud = new QComboBox;
    m_baud->setObjectName(QStringLiteral("list301"));
    for (std::string_view item : kBaudItems)
        m_baud->addItem(Text(item));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Address"), m_address);
    form->addRow(QStringLiteral("Baud rate"), m_baud);
    for (const WhatsThisText& help : kModbusWhatsThis) {
        QWidget* control = help.id == 401 ? static_cast<QWidget*>(m_address) : m_baud;
        control->setWhatsThis(Text(help.text));
        form->labelForField(control)->setWhatsThis(Text(help.text));
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    // The form is narrow: wide enough for its caption beside the title bar's
    // buttons, or the window manager shows "Modb...tings".
    QFont caption = font();
    caption.setBold(true);
    layout->addStrut(QFontMetrics(caption).horizontalAdvance(windowTitle()) + 8 * fontMetrics().height());

    SetupWindow();
}

void ModbusDialog::SetupWindow()
{
    const ModbusEntries entries = LoadModbusEntries(m_record);
    m_address->setText(Latin1Text(entries.address));
    m_baud->setCurrentIndex(entries.baud);
}

ModbusEntries ModbusDialog::Entries() const
{
    return {Latin1Bytes(m_address->text()), m_baud->currentIndex()};
}

bool ModbusDialog::Changed() const
{
    return ModbusEntriesChanged(Entries(), m_record);
}

bool ModbusDialog::Check()
{
    if (const CheckResult<ModbusField> refusal = CheckModbusEntries(Entries())) {
        Tell(refusal->kind, refusal->text, m_address);
        return false;
    }
    return true;
}

void ModbusDialog::Store()
{
    m_record = StoreModbusEntries(Entries(), m_record);
}

} // namespace veskar
