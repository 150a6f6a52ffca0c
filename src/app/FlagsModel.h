#pragma once

// The command-availability flags as an observable model: an editor window sets
// and clears flags, the main window follows every change.

#include "app/CommandFlags.h"

#include <QObject>

namespace veskar {

class FlagsModel : public QObject {
    Q_OBJECT
  public:
    using Flag = bool CommandFlags::*;

    explicit FlagsModel(QObject* parent = nullptr) : QObject(parent) {}

    [[nodiscard]] const CommandFlags& flags() const { return m_flags; }
    [[nodiscard]] bool get(Flag flag) const { return m_flags.*flag; }
    [[nodiscard]] bool allowed(CommandId id) const { return CommandAllowed(m_flags, id); }

    void set(Flag flag, bool value);
    // Several at once, one notification.
    void set(std::initializer_list<Flag> flags, bool value);

  signals:
    void changed();

  private:
    void Update(const CommandFlags& next);
    CommandFlags m_flags;
};

} // namespace veskar
