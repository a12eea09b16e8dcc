// The records every layer of the toolkit and every program share: platform handles, colours, fonts, the
// window record, events, menu actions and byte strings, and the guarded containers that hold them.
// This header depends on nothing else of the toolkit.
#pragma once

#include <atomic>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vx {

// Opaque platform objects. A null handle means "none"; only the platform that made one looks inside.
struct WindowObject;
struct ViewObject;
struct TextViewObject;
struct ScrollViewObject;
struct RulerObject;
struct MenuItemObject;
using WindowRef = WindowObject*;
using ViewRef = ViewObject*;
using TextViewRef = TextViewObject*;
using ScrollViewRef = ScrollViewObject*;
using RulerRef = RulerObject*;
using MenuItemRef = MenuItemObject*;

// A frame in points. Window frames are in screen coordinates with the origin at the bottom left of the
// primary screen; view, scroll view and ruler frames are relative to the bottom left of their window's
// content area.
struct Rect {
    double x = 0, y = 0, width = 0, height = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

// A composed window image: one 32-bit word per pixel, 0xAARRGGBB, rows top first, no padding.
struct WindowImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

// The modifier flags of key presses and clicks, in the toolkit's numbering.
inline constexpr std::uint64_t kCapsLockFlag = 0x10000;
inline constexpr std::uint64_t kShiftFlag = 0x20000;
inline constexpr std::uint64_t kControlFlag = 0x40000;
inline constexpr std::uint64_t kOptionFlag = 0x80000;
inline constexpr std::uint64_t kCommandFlag = 0x100000;
inline constexpr std::uint64_t kNumericPadFlag = 0x200000;
inline constexpr std::uint64_t kHelpFlag = 0x400000;
inline constexpr std::uint64_t kFunctionFlag = 0x800000;

}  // namespace vx

// A colour as four bytes; as one 32-bit number Alpha is the low byte.
struct t_RGBColor {
    std::uint8_t Alpha = 255;
    std::uint8_t Red = 0;
    std::uint8_t Green = 0;
    std::uint8_t Blue = 0;

    [[nodiscard]] std::uint32_t Packed() const {
        return std::uint32_t(Alpha) | std::uint32_t(Red) << 8 | std::uint32_t(Green) << 16 |
               std::uint32_t(Blue) << 24;
    }
    [[nodiscard]] static t_RGBColor FromPacked(std::uint32_t v) {
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

// The state of one graphic window. The first group is read by other threads while its writer changes it
// (composition and the refresh task read on their threads); inside the toolkit these fields are read and
// written with atomic access, so the record stays a plain value. The second group belongs to the program
// thread alone.
struct t_Window {
    // ---- Shared between threads; the writer is named beside each field ----
    bool Initialized = false;             // program thread (t_InitWindow, freeing a window)
    bool Visible = false;                 // thread that calls t_WindowVisible (program or user interface)
    bool AutoUpdate = false;              // program thread
    bool QuickUpdate = false;             // program thread
    bool VerticalBlank = true;            // user-interface thread (window 0 composing) and program thread
    std::int64_t UpdateStarted = 0;       // user-interface thread (composition)
    std::int64_t UpdateFinished = 0;      // user-interface thread (composition)
    std::int64_t UpdateDuration = 0;      // user-interface thread (composition); program on hiding
    std::int64_t RefreshRate = 30;        // program thread
    std::int64_t TitleHeight = 0;         // program thread
    std::int64_t BorderWidth = 0;         // program thread
    std::int64_t BorderHeight = 0;        // program thread
    std::int64_t BitDepth = 0;            // program thread
    std::int64_t Width = 0;               // program thread
    std::int64_t Height = 0;              // program thread
    std::int64_t MemoryStart = -1;        // program thread (placing and moving blocks)
    std::int64_t MemoryEnd = -1;          // program thread
    std::int64_t TextMemoryStart = -1;    // program thread
    std::int64_t TextMemoryEnd = -1;      // program thread
    std::int64_t TextRedirectOutput = 1;  // program thread, or user-interface thread on Ctrl+Y/[/\.

    // ---- Program thread only ----
    bool IgnoreEvents = false;
    bool ScrollLock = false;
    vx::WindowRef Window = nullptr;
    vx::ViewRef View = nullptr;
    vx::Rect DrawingRect{};
    t_RGBColor RGBColorBorder{255, 0, 0, 0};
    t_RGBColor RGBColor{255, 0, 0, 0};
    std::int64_t DrawingMode = 0;
    std::int64_t PositionX = 0;
    std::int64_t PositionY = 0;
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
};

// A key press or a click, as the program reads it from its queue.
struct t_Event {
    std::int64_t Kind = 0;
    std::int64_t Index = 0;
    std::string Description;
    std::int64_t Value = 0;
    std::int64_t WindowX = 0;
    std::int64_t WindowY = 0;
    std::int64_t ClickX = 0;
    std::int64_t ClickY = 0;
    std::int64_t Mods = 0;
    std::uint8_t Window = 0;
    std::int64_t Time = 0;
    bool CloseBox = false;
    bool CapsLockPressed = false;
    bool ShiftPressed = false;
    bool ControlPressed = false;
    bool OptionPressed = false;
    bool CommandPressed = false;
    bool NumericPadPressed = false;
    bool HelpPressed = false;
    bool FnPressed = false;
    bool CursorKeyPressed = false;
    bool FunctionKeyPressed = false;
};

// A chosen menu item.
struct t_MenuEvent {
    std::int64_t Kind = 0;
    std::string MenuTitle;
    std::string ItemTitle;
    std::string ItemKeyChar;
    std::uint64_t ItemKeyMods = 0;
    std::int64_t ItemKeyAsc = 0;
    std::int64_t ItemAction = 0;
    std::int64_t Time = 0;
};

// A record of the menu-action table: the toolkit action a menu-item tag selects, with the texts and
// results of the file panels.
struct t_MenuAction {
    std::int64_t Tag = 0;
    std::int64_t Action = 0;
    std::string Title;
    std::string Note;
    std::string FileName;
    std::string FileTypes;
    std::string FilePath;
};

// Text: a byte string with value semantics, for programs that keep character codes as bytes.
struct Text {
    std::vector<std::uint8_t> Elements;

    friend bool operator==(const Text&, const Text&) = default;
    // Byte by byte; a proper prefix sorts before the longer string.
    friend std::strong_ordering operator<=>(const Text& a, const Text& b) {
        const std::size_t common =
            a.Elements.size() < b.Elements.size() ? a.Elements.size() : b.Elements.size();
        for (std::size_t i = 0; i < common; ++i)
            if (a.Elements[i] != b.Elements[i]) return a.Elements[i] <=> b.Elements[i];
        return a.Elements.size() <=> b.Elements.size();
    }
};

/// \cond HASH_SPECIALISATION
template <>
struct std::hash<Text> {
    // The element count goes in first, so that strings of zero bytes of different lengths differ.
    std::size_t operator()(const Text& text) const noexcept {
        std::uint64_t h = 14695981039346656037ull;
        auto feed = [&h](std::uint8_t byte) {
            h ^= byte;
            h *= 1099511628211ull;
        };
        std::uint64_t count = text.Elements.size();
        for (int i = 0; i < 8; ++i) feed(std::uint8_t(count >> (8 * i)));
        for (std::uint8_t byte : text.Elements) feed(byte);
        return std::size_t(h);
    }
};
/// \endcond

namespace vx {

// A closure that a program may replace at any time, also while another thread is calling it.
class Handler {
  public:
    Handler() : fn_(std::make_shared<const std::function<void()>>([] {})) {}
    explicit Handler(std::function<void()> f) { *this = std::move(f); }
    Handler(const Handler&) = delete;
    Handler& operator=(const Handler&) = delete;

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

// How a queue keeps its flag: mirroring whether it holds records (keys, clicks), or only ever raising
// it when a record arrives (menus; the program clears that flag itself).
enum class FlagRule { kMirror, kRaiseOnAppend };

// A queue shared between the user-interface thread, which appends, and the program's threads, which
// read and remove. Every access takes the queue's lock; records keep their arrival order. A queue with a
// flag writes it under the same lock as the records, so it can never say "empty" over a record that
// another thread appended between a test and the store.
template <class T>
class EventQueue {
  public:
    EventQueue() = default;
    EventQueue(std::atomic<bool>& flag, FlagRule rule) : flag_(&flag), rule_(rule) {}
    EventQueue(const EventQueue&) = delete;
    EventQueue& operator=(const EventQueue&) = delete;

    void Append(T event) {
        std::lock_guard lock(mutex_);
        items_.push_back(std::move(event));
        if (flag_ != nullptr) flag_->store(true);
    }
    // Removes and returns the oldest record, if any.
    std::optional<T> TakeFirst() {
        std::lock_guard lock(mutex_);
        std::optional<T> first;
        if (!items_.empty()) {
            first = std::move(items_.front());
            items_.pop_front();
        }
        Mirror();
        return first;
    }
    [[nodiscard]] std::optional<T> Last() const {
        std::lock_guard lock(mutex_);
        if (items_.empty()) return std::nullopt;
        return items_.back();
    }
    [[nodiscard]] std::size_t Count() const {
        std::lock_guard lock(mutex_);
        return items_.size();
    }
    [[nodiscard]] bool Empty() const { return Count() == 0; }
    void Clear() {
        std::lock_guard lock(mutex_);
        items_.clear();
        Mirror();
    }
    // Empties the queue when its newest record satisfies `test`; true when it did.
    template <class Test>
    bool ClearIfNewest(Test test) {
        std::lock_guard lock(mutex_);
        if (items_.empty() || !test(items_.back())) {
            Mirror();
            return false;
        }
        items_.clear();
        Mirror();
        return true;
    }
    // Sets a mirroring flag to whether the queue holds records (after a post that appended nothing).
    void UpdateFlag() {
        std::lock_guard lock(mutex_);
        Mirror();
    }
    // A copy of every queued record, oldest first.
    [[nodiscard]] std::vector<T> Snapshot() const {
        std::lock_guard lock(mutex_);
        return {items_.begin(), items_.end()};
    }

  private:
    void Mirror() {
        if (flag_ != nullptr && rule_ == FlagRule::kMirror) flag_->store(!items_.empty());
    }

    mutable std::mutex mutex_;
    std::deque<T> items_;
    std::atomic<bool>* flag_ = nullptr;
    FlagRule rule_ = FlagRule::kMirror;
};

// A string that a program may replace at any time from its thread while the user-interface thread reads
// it. Assign and read it like a std::string.
class SharedString {
  public:
    explicit SharedString(std::string value) : value_(std::move(value)) {}
    SharedString(const SharedString&) = delete;
    SharedString& operator=(const SharedString&) = delete;
    SharedString& operator=(std::string value) {
        std::lock_guard lock(mutex_);
        value_ = std::move(value);
        return *this;
    }
    operator std::string() const {
        std::lock_guard lock(mutex_);
        return value_;
    }
    [[nodiscard]] std::string Value() const { return *this; }

  private:
    mutable std::mutex mutex_;
    std::string value_;
};

// The menu-action table: a list that the program appends to and reads from its thread while the menu
// handler reads it and stores file results on the user-interface thread. Every access takes its lock.
class MenuActionList {
  public:
    MenuActionList() = default;
    MenuActionList(const MenuActionList&) = delete;
    MenuActionList& operator=(const MenuActionList&) = delete;

    void Append(t_MenuAction action);
    [[nodiscard]] std::size_t Count() const;
    // A copy of record i; nullopt when out of range.
    [[nodiscard]] std::optional<t_MenuAction> At(std::size_t i) const;
    // Replaces record i; false when out of range.
    bool Replace(std::size_t i, t_MenuAction action);
    // Writes FilePath and FileName of record i and nothing else, so that what the program changed in the
    // record meanwhile stays; false when out of range.
    bool SetFile(std::size_t i, std::string path, std::string name);
    // Position of the first record with this tag, or -1.
    [[nodiscard]] std::int64_t FindTag(std::int64_t tag) const;
    [[nodiscard]] std::vector<t_MenuAction> Snapshot() const;

  private:
    mutable std::mutex mutex_;
    std::vector<t_MenuAction> items_;
};

}  // namespace vx
