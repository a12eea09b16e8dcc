#include <cstdlib>
#include <cstring>
#include <ctime>

#include "core/hooks.h"
#include "core/log.h"
#include "core/platform.h"
#include "core/program.h"
#include "core/state.h"
#include "core/threads.h"
#include "vxtools/core.h"

namespace {

bool InRange(int b, int lo, int hi) {
    return b >= lo && b <= hi;
}

}  // namespace

void initvxtools() {
    vx::Log("initvxtools: Start.");
    for (int b = 0; b < 256; ++b) {
        bool lower =
            InRange(b, 97, 122) || InRange(b, 224, 228) || InRange(b, 231, 246) || InRange(b, 249, 252);
        bool upper =
            InRange(b, 65, 90) || InRange(b, 192, 196) || InRange(b, 199, 214) || InRange(b, 217, 220);
        UpperCaseTable[b] = static_cast<std::uint8_t>(lower ? b - 32 : b);
        LowerCaseTable[b] = static_cast<std::uint8_t>(upper ? b + 32 : b);
        HexValue[b] = -1;
    }
    for (int d = 0; d < 16; ++d) {
        HexDigits[d] = static_cast<std::uint8_t>(d <= 9 ? d + 48 : d + 55);
        HexValue[UpperCaseTable[HexDigits[d]]] = d;
        HexValue[LowerCaseTable[HexDigits[d]]] = d;
    }
    srandom(static_cast<unsigned>(std::time(nullptr) & 0x7FFFFFFF));
    ToolkitInitialised.store(true, std::memory_order_release);
    vx::Log("initvxtools: End.");
}

void t_InitMemory() {
    // Only the first caller initialises; everyone else returns at once (EnsureMemory waits).
    bool expected = false;
    if (!MemoryInitStarted.compare_exchange_strong(expected, true)) return;
    vx::Log("t_InitMemory: Start.");
    if (CurrentThreadNumber() == 2) vx::SetCurrentThreadName("Main Program");
    HighMemory = 0xFFFFFF;
    auto* memory = new std::uint8_t[kVideoMemorySize];
    std::memset(memory, 0xFF, kVideoMemorySize);
    VideoMemory = memory;
    WindowTable = new t_Window[8];
    if (const auto prepareMenus = vx::InstalledToolkitHooks().prepareMenus) prepareMenus();
    OnUserInterfaceThread([] {
        vx::Platform& p = vx::CurrentPlatform();
        vx::TextViewRef view = p.textView(8);
        if (view == nullptr) return;
        p.disableTextSubstitutions(view);
        p.setTextViewFont(view, "Menlo", 12.0);
        p.setTextViewText(view, "");
        p.markTextViewNeedsDisplay(view);
    });
    MemoryInitialised.store(true, std::memory_order_release);
    vx::Log("t_InitMemory: End.");
}

void EnsureMemory() {
    if (!MemoryInitStarted.load()) {
        t_InitMemory();
    }
    while (!MemoryInitialised.load(std::memory_order_acquire)) vx::SleepNanoseconds(10000000);
}
