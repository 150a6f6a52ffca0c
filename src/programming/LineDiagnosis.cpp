#include "programming/LineDiagnosis.h"

#include "programming/TransferTexts.h"

namespace veskar {

void LineCounts::Reply(ReplySeen seen)
{
    ++seen_[static_cast<std::size_t>(seen)];
    if (seen == ReplySeen::Whole)
        quietSinceWhole_ = true;
    else if (seen != ReplySeen::Silent && seen != ReplySeen::Cut)
        quietSinceWhole_ = false;
}

// The likeliest cause first: what the failing replies had in common.
std::string LineCounts::Diagnosis() const
{
    const auto count = [this](ReplySeen seen) { return seen_[static_cast<std::size_t>(seen)]; };
    int failed = 0;
    for (std::size_t i = 1; i < seen_.size(); ++i)
        failed += seen_[i];
    if (failed == 0)
        return {};
    if (count(ReplySeen::Whole) > 0 && quietSinceWhole_)
        return std::string(texts::kLineWentDead);
    if (count(ReplySeen::Echo) > 0)
        return std::string(texts::kLineEchoes);
    if (count(ReplySeen::Other) > 0)
        return std::string(texts::kLineOtherAnswers);
    if (const int damaged = count(ReplySeen::BadCrc) + count(ReplySeen::Cut); damaged > 0)
        return std::to_string(damaged) + " of " + std::to_string(failed + count(ReplySeen::Whole)) +
               std::string(texts::kLineDamaged);
    if (count(ReplySeen::Noise) > 0)
        return std::string(texts::kLineNoise);
    return std::string(texts::kLineSilent);
}

} // namespace veskar
