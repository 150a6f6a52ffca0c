#pragma once

// The system settings form: the system codes, timers, dialling, squelch and
// answering options, the site name, the default timer and, through the nested
// Modbus form, the Modbus pair. OK runs the checks and writes straight into
// the system block, then warns about every system code a user also has.

#include "system/SystemChecks.h"
#include "widgets/EditorDialog.h"

#include <QHash>

#include <array>
#include <functional>

class QCheckBox;
class QComboBox;
class QRadioButton;

namespace veskar {

class Document;

class GeneralDialog : public EditorDialog {
    Q_OBJECT
  public:
    // How the nested Modbus form is run (exec when empty).
    using DialogRunner = std::function<int(QDialog&)>;

    GeneralDialog(QWidget* parent, Document& document, MessageService& messages, DialogRunner runNested = {});

    [[nodiscard]] QLineEdit* field(SystemField which) const
    {
        return m_fields.at(static_cast<std::size_t>(which));
    }
    // Any control by its id: the lists, radio buttons, check boxes and the Modbus button.
    [[nodiscard]] QWidget* control(int id) const;
    // The working Modbus pair that OK stores.
    [[nodiscard]] const Modbusdata& mbus() const { return m_mbus; }

    void CmModbus();

  protected:
    [[nodiscard]] bool Changed() const override;
    [[nodiscard]] bool Check() override;
    void Store() override;

  private:
    [[nodiscard]] QWidget* BuildCodes();
    [[nodiscard]] QWidget* BuildTimers();
    [[nodiscard]] QWidget* BuildOptions();
    void SetupWindow();
    void ProgressChanged(bool ticked);
    [[nodiscard]] SystemEntries Entries() const;

    Document& m_document;
    DialogRunner m_runNested;
    Modbusdata m_mbus{};

    std::array<QLineEdit*, 8> m_fields{};
    QComboBox* m_timesA = nullptr;
    QComboBox* m_rings = nullptr;
    QRadioButton* m_pulse = nullptr;
    QRadioButton* m_tone = nullptr;
    QRadioButton* m_busyHigh = nullptr;
    QRadioButton* m_busyLow = nullptr;
    QCheckBox* m_radioWarning = nullptr;
    QCheckBox* m_ackRequest = nullptr;
    QCheckBox* m_callProgress = nullptr;
    QCheckBox* m_recordedSiteId = nullptr;
    QHash<int, QWidget*> m_controls;
};

} // namespace veskar
