#include "core/threads.h"

#include <pthread.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstdio>
#include <string>

namespace vx {
namespace {

std::atomic<int> nextNumber{2};
thread_local int threadNumber = 0;
thread_local std::string threadName;

}  // namespace

void RegisterUserInterfaceThread() { threadNumber = 1; }

int ThreadNumber() {
    if (threadNumber == 0) threadNumber = nextNumber.fetch_add(1);
    return threadNumber;
}

int ReserveThreadNumber() { return nextNumber.fetch_add(1); }

void AdoptThreadNumber(int number) { threadNumber = number; }

void SetCurrentThreadName(std::string_view name) {
    threadName = std::string(name);
    // The system keeps at most 15 bytes; cut on a character boundary so the name stays valid UTF-8.
    std::size_t cut = std::min<std::size_t>(name.size(), 15);
    while (cut > 0 && cut < name.size() && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
    std::string shortName(name.substr(0, cut));
    // The main thread's system name is the process's name, which ps, top and pgrep show; it keeps the
    // executable's name, and the toolkit's name for the thread lives only in threadName.
    if (gettid() == getpid()) return;
    pthread_setname_np(pthread_self(), shortName.c_str());
}

std::string CurrentThreadName() { return threadName; }

std::string CurrentThreadDescription() {
    char address[32];
    std::snprintf(address, sizeof address, "%p", static_cast<void*>(&threadNumber));
    std::string d = "<Thread: ";
    d += address;
    d += ">{number = " + std::to_string(ThreadNumber()) + ", name = ";
    d += threadName.empty() ? "(null)" : threadName;
    d += "}";
    return d;
}

int ParseThreadNumber(std::string_view description) {
    constexpr std::string_view kKey = "number = ";
    std::size_t start = description.find(kKey);
    if (start == std::string_view::npos) return 0;
    std::size_t comma = description.find(',', start);
    if (comma == std::string_view::npos || comma <= start + kKey.size()) return 0;
    std::string_view text = description.substr(start + kKey.size(), comma - start - kKey.size());
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && text[i] == '-') {
        negative = true;
        ++i;
        while (i < text.size() && text[i] == ' ') ++i;
    }
    // Saturates instead of overflowing on absurdly long digit runs.
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = std::min<long long>(value * 10 + (text[i] - '0'), INT_MAX);
    }
    return static_cast<int>(negative ? -value : value);
}

}  // namespace vx

int CurrentThreadNumber() { return vx::ParseThreadNumber(vx::CurrentThreadDescription()); }
