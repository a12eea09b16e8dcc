// A closure that a program may replace at any time, also while another thread is calling it.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <utility>

namespace vx {

class Handler {
public:
    Handler() : fn_(std::make_shared<const std::function<void()>>([] {})) {}
    explicit Handler(std::function<void()> f) { *this = std::move(f); }

    // Replaces the closure; a call already running keeps the one it started with.
    Handler& operator=(std::function<void()> f) {
        auto next = std::make_shared<const std::function<void()>>(f ? std::move(f) : [] {});
        std::lock_guard lock(mutex_);
        fn_ = std::move(next);
        return *this;
    }

    // Calls the closure that is current now.
    void operator()() const {
        std::shared_ptr<const std::function<void()>> fn;
        {
            std::lock_guard lock(mutex_);
            fn = fn_;
        }
        (*fn)();
    }

private:
    mutable std::mutex mutex_;
    std::shared_ptr<const std::function<void()>> fn_;
};

}  // namespace vx
