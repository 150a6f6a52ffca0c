#include "directories/CodeEntry.h"

#include "database/Image.h"
#include "directories/ValueChecks.h"

namespace veskar {

CodeEntryFault CheckCodeEntry(std::string& text, std::size_t charactersRead)
{
    text = text.substr(0, charactersRead);
    if (text.size() > kMaxCodeDigits)
        return CodeEntryFault::TooLong;
    // The pause "!" belongs to directory values, never to a code.
    if (CheckDTMF(text) || text.find('!') != std::string::npos)
        return CodeEntryFault::NotDtmf;
    return CodeEntryFault::None;
}

} // namespace veskar
