#include "programming/PacketPace.h"

namespace veskar {

void PacketPace::Done(int done, int total, std::int64_t nowMs)
{
    if (done < done_ || (firstDone_ && done < *firstDone_))
        firstDone_.reset(); // a new transfer
    // The first count said again (after a wait of the unit's) restarts the pace.
    if ((!firstDone_ && done >= 1) || (firstDone_ && done == *firstDone_)) {
        firstDone_ = done;
        firstAt_ = nowMs;
    }
    done_ = done;
    total_ = total;
    now_ = nowMs;
}

std::optional<std::int64_t> PacketPace::LeftMs() const
{
    if (total_ <= 0 || !firstDone_ || done_ <= *firstDone_ || done_ >= total_)
        return std::nullopt;
    return (now_ - firstAt_) * (total_ - done_) / (done_ - *firstDone_);
}

} // namespace veskar
