#pragma once

// The user settings form: one user's four codes, warning interval, name and
// options, edited on the user list window's text copy of the record. OK runs
// the checks; a refusal puts the focus into the offending field. The image
// itself changes only when the user list window is left with "E&xit and Save".

#include "users/UserChecks.h"
#include "widgets/EditorDialog.h"

#include <array>
#include <span>

class QCheckBox;
class QLineEdit;

namespace veskar {

class UserDialog : public EditorDialog {
    Q_OBJECT
  public:
    // `record` is users[index]; the others count for the clash checks.
    UserDialog(QWidget* parent, MessageService& messages, UserData& record, int index,
               std::span<const UserData, kUserCount> users, const SystemBlock& gen);

    [[nodiscard]] QLineEdit* field(UserField which) const;
    // The check box of kUserOptions[i].
    [[nodiscard]] QCheckBox* option(std::size_t i) const { return m_options.at(i); }

  protected:
    [[nodiscard]] bool Changed() const override;
    [[nodiscard]] bool Check() override;
    void Store() override;

  private:
    void SetupWindow();
    [[nodiscard]] UserEntries Entries() const;
    [[nodiscard]] QCheckBox* OptionFor(Byte UserRecord::*field) const;
    // Asking for a name or location the unit cannot take by code means recording it.
    void CmAskName();
    void CmAskLocation();
    void TickVoiceUnlessCode(Byte UserRecord::*ask, Byte UserRecord::*code, Byte UserRecord::*voice);

    UserData& m_record;
    int m_index;
    std::span<const UserData, kUserCount> m_users;
    const SystemBlock& m_gen;
    UserData m_accepted;

    std::array<QLineEdit*, 6> m_fields{};
    std::array<QCheckBox*, kUserOptions.size()> m_options{};
};

} // namespace veskar
