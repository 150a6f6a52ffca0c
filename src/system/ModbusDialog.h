#pragma once

// The Modbus settings form: the unit's Modbus address and baud rate, edited on
// the system settings form's copy of the pair. OK checks the address and
// rewrites the copy; the system block changes only with the system form's OK.

#include "system/ModbusChecks.h"
#include "widgets/EditorDialog.h"

class QComboBox;

namespace veskar {

class ModbusDialog : public EditorDialog {
    Q_OBJECT
  public:
    ModbusDialog(QWidget* parent, MessageService& messages, Modbusdata& record);

    [[nodiscard]] QLineEdit* address() const { return m_address; }
    [[nodiscard]] QComboBox* baudRate() const { return m_baud; }

  protected:
    [[nodiscard]] bool Changed() const override;
    [[nodiscard]] bool Check() override;
    void Store() override;

  private:
    void SetupWindow();
    [[nodiscard]] ModbusEntries Entries() const;

    Modbusdata& m_record;
    QLineEdit* m_address = nullptr;
    QComboBox* m_baud = nullptr;
};

} // namespace veskar
