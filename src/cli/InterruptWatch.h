#pragma once

// Ctrl+C while a transfer runs: handed to the event loop instead of ending the
// program, so a stop ends on the line as the Stop button's does. The previous
// handler comes back when the watch goes.

#include <QSocketNotifier>

#include <functional>
#include <memory>

namespace veskar::cli {

class InterruptWatch {
  public:
    explicit InterruptWatch(std::function<void()> interrupted);
    ~InterruptWatch();
    InterruptWatch(const InterruptWatch&) = delete;
    InterruptWatch& operator=(const InterruptWatch&) = delete;

  private:
    std::function<void()> interrupted_;
    std::unique_ptr<QSocketNotifier> notifier_;
};

} // namespace veskar::cli
