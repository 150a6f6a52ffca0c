#pragma once

// The command-availability flags as an observable model. An open editor window
// holds the flags of the commands that would conflict with it; a flag is set
// while nobody holds it, so closing one window never re-enables a command that
// another open window still blocks. The main window follows every change.

#include "widgets/CommandFlags.h"

#include <QObject>

#include <map>
#include <vector>

namespace veskar {

class FlagsModel : public QObject {
    Q_OBJECT
  public:
    using Flag = bool CommandFlags::*;

    explicit FlagsModel(QObject* parent = nullptr) : QObject(parent) {}

    [[nodiscard]] const CommandFlags& flags() const { return m_flags; }
    [[nodiscard]] bool get(Flag flag) const { return m_flags.*flag; }
    [[nodiscard]] bool allowed(CommandId id) const { return CommandAllowed(m_flags, id); }

    // `holder` keeps `flags` cleared until it releases them (or holds another set).
    void hold(const void* holder, std::vector<Flag> flags);
    void release(const void* holder);

  signals:
    void changed();

  private:
    void Update();

    std::map<const void*, std::vector<Flag>> m_holds;
    CommandFlags m_flags;
};

} // namespace veskar
