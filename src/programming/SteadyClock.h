#pragma once

#include "programming/SerialLink.h"

#include <chrono>

namespace veskar {

// Milliseconds since the clock was made, from the monotonic system clock.
class SteadyClock final : public Clock {
public:
    [[nodiscard]] Tick now() const override
    {
        const auto elapsed = std::chrono::steady_clock::now() - start_;
        return static_cast<Tick>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
    }

private:
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

}  // namespace veskar
