// Reaching a window record and its platform objects, the common window check, and the atomic access to
// the record fields that several threads share.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/platform.h"
#include "vxtools/core.h"

// The record of window n (0..7). Only valid once MemoryInitialised is set.
t_Window& WindowRecord(std::uint8_t n);

// The common pre-check of window operations: logs op + ": Window is not a graphic window." for n >= 8,
// or op + ": Window #n not initialized." when the memory or the window (or, with needsText, its text
// block) is not ready. `graphicWording` uses "Graphic window #n" instead of "Window #n".
bool CheckWindow(std::string_view op, std::uint8_t n, bool needsText, bool graphicWording = false);

// Platform lookups (run on the user-interface thread; other threads wait).
vx::ViewRef WindowView(std::uint8_t n);
vx::WindowRef PlatformWindow(std::uint8_t n);
vx::TextViewRef WindowTextView(std::uint8_t n);

namespace vx {

// True when any of the application's thirteen windows is on screen. User-interface thread.
bool AnyWindowVisible(Platform& platform);

// Records that the user closed window n (0..12) with its close box, or, with false, that it was shown
// again: what vx::WindowClosed answers. Any thread; other numbers are ignored.
void NoteWindowClosed(std::uint8_t n, bool closed);

// Atomic access to record fields shared between threads.
template <class T>
T Load(const T& field, std::memory_order order = std::memory_order_relaxed) {
    return std::atomic_ref<T>(const_cast<T&>(field)).load(order);
}
template <class T, class U>
void Store(T& field, U value, std::memory_order order = std::memory_order_relaxed) {
    std::atomic_ref<T>(field).store(T(value), order);
}

}  // namespace vx
