#include "headless/ui_thread.h"

#include "core/threads.h"

namespace vx {

UiThread::UiThread() {
    std::thread([this] {
        RegisterUserInterfaceThread();
        SetCurrentThreadName("AppDelegate");
        {
            std::lock_guard lock(mutex_);
            id_ = std::this_thread::get_id();
        }
        changed_.notify_all();
        Serve();
    }).detach();
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return id_ != std::thread::id(); });
}

void UiThread::Serve() {
    for (;;) {
        std::function<void()> work;
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [&] { return !queue_.empty(); });
            work = std::move(queue_.front());
            queue_.pop_front();
        }
        work();
    }
}

void UiThread::Enqueue(std::function<void()> work) {
    {
        std::lock_guard lock(mutex_);
        queue_.push_back(std::move(work));
    }
    changed_.notify_one();
}

void UiThread::Post(std::function<void()> work) {
    if (Quitting()) return;
    Enqueue([this, work = std::move(work)] {
        if (!Quitting()) work();
    });
}

bool UiThread::RunAndWait(std::function<void()> work) {
    if (IsCurrent()) {
        work();
        return true;
    }
    return gate_.RunAndWait(std::move(work), [this](std::function<void()> f) {
        Enqueue(std::move(f));
        return true;
    });
}

}  // namespace vx
