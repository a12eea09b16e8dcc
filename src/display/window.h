// The window record, the font record and the colour record, and the table of the eight graphic windows.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/platform.h"

// A colour as four bytes; as one 32-bit number Alpha is the low byte.
struct t_RGBColor {
    std::uint8_t Alpha = 255;
    std::uint8_t Red = 0;
    std::uint8_t Green = 0;
    std::uint8_t Blue = 0;

    std::uint32_t Packed() const {
        return std::uint32_t(Alpha) | std::uint32_t(Red) << 8 | std::uint32_t(Green) << 16 |
               std::uint32_t(Blue) << 24;
    }
    static t_RGBColor FromPacked(std::uint32_t v) {
        return {std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16), std::uint8_t(v >> 24)};
    }
    friend bool operator==(const t_RGBColor&, const t_RGBColor&) = default;
};

// A bitmap font. An empty Data means "no text layer".
struct t_Font {
    std::int64_t HeaderSize = 16;
    std::vector<std::uint8_t> Identifier{'v', 'x', 'f', 'n'};
    std::int64_t Format = 0;
    std::int64_t Size = 0;
    std::uint8_t Start = 0;
    std::uint8_t End = 0;
    std::int64_t Width = 0;
    std::int64_t Height = 0;
    std::int64_t Reserved = 0;
    std::vector<std::uint8_t> Data;
};

// The state of one graphic window. Fields that several threads touch (Initialized, Visible, the update
// fields, the geometry and block bounds that composition reads) are read and written through
// vx::Load / vx::Store below, so the record stays a plain value.
struct t_Window {
    bool Initialized = false;
    bool Visible = false;
    bool IgnoreEvents = false;
    bool AutoUpdate = false;
    bool QuickUpdate = false;
    bool ScrollLock = false;
    bool VerticalBlank = true;
    std::int64_t UpdateStarted = 0;
    std::int64_t UpdateFinished = 0;
    std::int64_t UpdateDuration = 0;
    std::int64_t RefreshRate = 30;
    vx::WindowRef Window = nullptr;
    vx::ViewRef View = nullptr;
    vx::Rect DrawingRect{};
    std::int64_t TitleHeight = 0;
    std::int64_t BorderWidth = 0;
    std::int64_t BorderHeight = 0;
    t_RGBColor RGBColorBorder{255, 0, 0, 0};
    std::int64_t BitDepth = 0;
    std::int64_t Width = 0;
    std::int64_t Height = 0;
    t_RGBColor RGBColor{255, 0, 0, 0};
    std::int64_t DrawingMode = 0;
    std::int64_t PositionX = 0;
    std::int64_t PositionY = 0;
    std::int64_t MemoryStart = -1;
    std::int64_t MemoryEnd = -1;
    t_Font Font{};
    std::int64_t TextWidth = 0;
    std::int64_t TextHeight = 0;
    std::int64_t TextFirstColumn = 0;
    std::int64_t TextLastColumn = 0;
    std::int64_t TextFirstLine = 0;
    std::int64_t TextLastLine = 0;
    std::int64_t TextHpos = 0;
    std::int64_t TextVpos = 0;
    std::uint8_t TextColor = 0;
    bool TextInverse = false;
    std::int64_t TextDisplayMode = 0;
    std::int64_t TextCursorLevel = 0;
    std::int64_t TextRedirectOutput = 1;
    std::string InputString;
    bool InputFinished = false;
    std::int64_t InputMode = 0;
    std::int64_t InputHpos = 0;
    std::int64_t InputVpos = 0;
    std::int64_t InputCursorPos = 0;
    std::int64_t InputMaxCharacters = 0;
    std::int64_t LoResOffsetX = 0;
    std::int64_t LoResOffsetY = 0;
    std::int64_t LoResMode = 0;
    std::int64_t TextMemoryStart = -1;
    std::int64_t TextMemoryEnd = -1;
};

// The eight window records; null until t_InitMemory has run, then never moved or freed.
extern t_Window* WindowTable;

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
