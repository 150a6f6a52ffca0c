#include "app/FlagsModel.h"

namespace veskar {

void FlagsModel::set(Flag flag, bool value)
{
    set({flag}, value);
}

void FlagsModel::set(std::initializer_list<Flag> flags, bool value)
{
    CommandFlags next = m_flags;
    for (Flag flag : flags)
        next.*flag = value;
    Update(next);
}

void FlagsModel::Update(const CommandFlags& next)
{
    CommandFlags computed = next;
    computed.printon = PrintAllowed(computed);
    if (computed == m_flags)
        return;
    m_flags = computed;
    emit changed();
}

} // namespace veskar
