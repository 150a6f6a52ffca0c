#include "widgets/FlagsModel.h"

namespace veskar {

void FlagsModel::hold(const void* holder, std::vector<Flag> flags)
{
    m_holds[holder] = std::move(flags);
    Update();
}

void FlagsModel::release(const void* holder)
{
    if (m_holds.erase(holder) != 0)
        Update();
}

void FlagsModel::Update()
{
    CommandFlags computed;
    for (const auto& [holder, flags] : m_holds) {
        for (Flag flag : flags)
            computed.*flag = false;
    }
    computed.printon = PrintAllowed(computed);
    if (computed == m_flags)
        return;
    m_flags = computed;
    emit changed();
}

} // namespace veskar
