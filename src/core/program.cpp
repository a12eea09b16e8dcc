#include "core/program.h"

#include <limits.h>
#include <pthread.h>

#include <atomic>
#include <exception>
#include <mutex>
#include <string>

#include "core/hooks.h"
#include "core/log.h"
#include "core/threads.h"
#include "vxtools/core.h"

namespace {

// The hand-shake between startprocess and the thread it starts: the closure and stack size stay put
// until the new thread has picked them up.
std::atomic<bool> ProgramStartPending{false};
std::mutex programClosureMutex;
std::function<void()>* ProgramClosure = new std::function<void()>([] {});
std::atomic<std::int64_t> ProgramStackSize{0};

struct ThreadStart {
    int number;
    bool program;  // a program thread picks up ProgramClosure; a task carries its own closure
    std::function<void()> task;
};

// Set by t_QuitProgram just before it ends the thread: the unwinding that follows is wanted.
thread_local bool endingThread = false;

void RunGuarded(const std::function<void()>& fn) {
    try {
        fn();
    } catch (const std::exception& e) {
        vx::Log(std::string("startprocess: Program ended with an exception: ") + e.what());
    } catch (...) {
        if (endingThread) throw;
        vx::Log("startprocess: Program ended with an exception.");
    }
}

void* ThreadEntry(void* arg) {
    auto* start = static_cast<ThreadStart*>(arg);
    vx::AdoptThreadNumber(start->number);
    std::function<void()> fn;
    if (start->program) {
        {
            std::lock_guard lock(programClosureMutex);
            fn = *ProgramClosure;
        }
        ProgramStartPending.store(false);
    } else {
        fn = std::move(start->task);
    }
    delete start;
    RunGuarded(fn);
    return nullptr;
}

// Creates a detached thread; false when the system refused.
bool CreateThread(ThreadStart* start, std::int64_t stackSize) {
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setdetachstate(&attr, PTHREAD_CREATE_DETACHED);
    std::int64_t size = stackSize < PTHREAD_STACK_MIN ? PTHREAD_STACK_MIN : stackSize;
    pthread_attr_setstacksize(&attr, static_cast<std::size_t>(size));
    pthread_t thread;
    int rc = pthread_create(&thread, &attr, ThreadEntry, start);
    pthread_attr_destroy(&attr);
    return rc == 0;
}

}  // namespace

void startprocess(std::function<void()> program, std::int64_t stackSize) {
    // Wait until an earlier start has been picked up; claiming the flag atomically keeps two callers
    // from overwriting each other's closure.
    bool expected = false;
    while (!ProgramStartPending.compare_exchange_weak(expected, true)) {
        expected = false;
        vx::SleepNanoseconds(1000000);
    }
    {
        std::lock_guard lock(programClosureMutex);
        *ProgramClosure = std::move(program);
    }
    ProgramStackSize.store(stackSize);
    vx::SleepNanoseconds(10000000);

    bool started = false;
    OnUserInterfaceThread([&] {
        auto* start = new ThreadStart{vx::ReserveThreadNumber(), true, {}};
        started = CreateThread(start, ProgramStackSize.load());
        if (!started) delete start;
    });
    if (!started) {
        vx::Log("startprocess: Thread could not be created.");
        ProgramStartPending.store(false);
    }
}

void RunInBackground(std::function<void()> task) {
    auto* start = new ThreadStart{vx::ReserveThreadNumber(), false, std::move(task)};
    if (!CreateThread(start, 0x80000)) {
        delete start;
        vx::Log("RunInBackground: Thread could not be created.");
    }
}

namespace vx {

bool RunOnUserInterfaceThread(const std::function<void()>& work) {
    Platform& platform = CurrentPlatform();
    if (platform.isUserInterfaceThread()) {
        work();
        return true;
    }
    return platform.invokeBlocking(work);
}

}  // namespace vx

void t_QuitProgram(std::uint8_t window) {
    if (vx::CurrentPlatform().isUserInterfaceThread() && vx::ThreadNumber() == 1) {
        // Ending the user-interface thread would take the whole application with it.
        vx::Log("t_QuitProgram: The user-interface thread cannot be ended.");
        return;
    }
    vx::LogPiece("t_QuitProgram: Quitting current thread");
    if (const auto showEndMessage = vx::InstalledToolkitHooks().showEndMessage) showEndMessage(window);
    vx::Log(".");
    endingThread = true;
    pthread_exit(nullptr);
}
