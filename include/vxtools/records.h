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

/// The state of one graphic window. The first group is read by other threads while its writer changes it
/// (composition and the refresh task read on their threads); inside the toolkit these fields are read and
/// written with atomic access, so the record stays a plain value. The second group belongs to the program
/// thread alone.
struct t_Window {
    // ---- Shared between threads; each field's text ends with its writer ----
    /// Set up by t_InitWindow, with its view; every window operation requires it. Written by the program
    /// thread (t_InitWindow, freeing a window).
    bool Initialized = false;
    /// The window is shown (t_WindowVisible, t_WindowFront); only shown windows are composed. Written by the
    /// thread that calls t_WindowVisible.
    bool Visible = false;
    /// The refresh task redraws the window by itself at RefreshRate (t_InitWindow's argument). Program
    /// thread.
    bool AutoUpdate = false;
    /// The view takes the fast update path; t_InitWindow sets it. Program thread.
    bool QuickUpdate = false;
    /// The refresh task marks the window only while this is true; window 0's view clears it while it
    /// composes. User-interface thread (window 0) and program thread.
    bool VerticalBlank = true;
    /// Time stamp, milliseconds, of the last refresh start. User-interface thread.
    std::int64_t UpdateStarted = 0;
    /// Time stamp, milliseconds, of the last composed image. User-interface thread.
    std::int64_t UpdateFinished = 0;
    /// Microseconds the last composition took; 0 after hiding. User-interface thread, program on hiding.
    std::int64_t UpdateDuration = 0;
    /// Redraws per second while AutoUpdate is on. Program thread.
    std::int64_t RefreshRate = 30;
    /// Height of the title strip (the menu bar) above the picture, 0 while it is hidden. Program thread.
    std::int64_t TitleHeight = 0;
    /// Pixels of border left and right of the picture. Program thread.
    std::int64_t BorderWidth = 0;
    /// Pixels of border above and below the picture. Program thread.
    std::int64_t BorderHeight = 0;
    /// Bits per pixel: 1, 4, 8, 16, 24 or 32. Program thread.
    std::int64_t BitDepth = 0;
    /// Picture width in pixels. Program thread.
    std::int64_t Width = 0;
    /// Picture height in pixels. Program thread.
    std::int64_t Height = 0;
    /// First byte of the graphic block in VideoMemory; -1 without one. Program thread (placing and moving
    /// blocks).
    std::int64_t MemoryStart = -1;
    /// Last byte of the graphic block (inclusive). Program thread.
    std::int64_t MemoryEnd = -1;
    /// First byte of the text block (one character and one colour byte per cell); -1 without a text layer.
    /// Program thread.
    std::int64_t TextMemoryStart = -1;
    /// Last byte of the text block (inclusive). Program thread.
    std::int64_t TextMemoryEnd = -1;
    /// Where text goes: 1 into the window, 2 to standard output, anything else nowhere. Program thread,
    /// or the user-interface thread on the keys Ctrl+Y, Ctrl+[ and Ctrl+Backslash.
    std::int64_t TextRedirectOutput = 1;

    // ---- Program thread only ----
    /// While true the view drops key presses and clicks; t_InitWindow clears it.
    bool IgnoreEvents = false;
    /// While true, text output that reaches the bottom of a narrow text window does not scroll it.
    bool ScrollLock = false;
    /// The platform window that shows the view.
    vx::WindowRef Window = nullptr;
    /// The window's view.
    vx::ViewRef View = nullptr;
    /// The drawing area inside the view.
    vx::Rect DrawingRect{};
    /// Colour of the border (t_ColorBorder).
    t_RGBColor RGBColorBorder{255, 0, 0, 0};
    /// The current drawing colour (t_Color, vx::SetRGBColor).
    t_RGBColor RGBColor{255, 0, 0, 0};
    /// How a plotted pixel combines with the stored one at 24 and 32 bits (see the drawing page); 0 replaces
    /// it.
    std::int64_t DrawingMode = 0;
    /// X of the last plotted point, where g_LineTo starts.
    std::int64_t PositionX = 0;
    /// Y of the last plotted point.
    std::int64_t PositionY = 0;
    /// The text layer's font; an empty Data means the window has no text layer.
    t_Font Font{};
    /// Characters per text line.
    std::int64_t TextWidth = 0;
    /// Text lines.
    std::int64_t TextHeight = 0;
    /// First column of the text window, from 1.
    std::int64_t TextFirstColumn = 0;
    /// Last column of the text window.
    std::int64_t TextLastColumn = 0;
    /// First line of the text window, from 1.
    std::int64_t TextFirstLine = 0;
    /// Last line of the text window.
    std::int64_t TextLastLine = 0;
    /// Cursor column, from 1.
    std::int64_t TextHpos = 0;
    /// Cursor line, from 1.
    std::int64_t TextVpos = 0;
    /// Colour byte of text output: ink (palette index) in the high nibble, paper in the low one. t_Color
    /// sets the ink to its entry, vx::SetRGBColor to the palette entry nearest its colour.
    std::uint8_t TextColor = 0;
    /// Text is drawn inverse (paper on ink).
    bool TextInverse = false;
    /// Text display mode 0-4 (see the text page).
    std::int64_t TextDisplayMode = 0;
    /// Carried in the record; no operation uses it.
    std::int64_t TextCursorLevel = 0;
    /// Carried in the record for line input; no operation uses it.
    std::string InputString;
    /// As InputString.
    bool InputFinished = false;
    /// As InputString.
    std::int64_t InputMode = 0;
    /// As InputString.
    std::int64_t InputHpos = 0;
    /// As InputString.
    std::int64_t InputVpos = 0;
    /// As InputString.
    std::int64_t InputCursorPos = 0;
    /// As InputString.
    std::int64_t InputMaxCharacters = 0;
    /// Carried in the record; no operation uses it.
    std::int64_t LoResOffsetX = 0;
    /// Carried in the record; no operation uses it.
    std::int64_t LoResOffsetY = 0;
    /// Carried in the record; no operation uses it.
    std::int64_t LoResMode = 0;
};

/// A key press or a click, as the program reads it from its queue.
struct t_Event {
    /// 1 key press, 2 click; 0 for the empty record.
    std::int64_t Kind = 0;
    /// Key: the hardware key code; click: the pressed buttons (bit 0 primary, bit 1 secondary).
    std::int64_t Index = 0;
    /// Key: the characters the key produced; click: empty.
    std::string Description;
    /// Key: the key value (see the events page); click: 0.
    std::int64_t Value = 0;
    /// Click: x in window points from the left; key: 0.
    std::int64_t WindowX = 0;
    /// Click: y in window points from the bottom; key: 0.
    std::int64_t WindowY = 0;
    /// Click: the pixel's column, -1 left of the picture, -2 right of it, -3 for a window not set up; key: 0.
    std::int64_t ClickX = 0;
    /// Click: the pixel's row from the top, -1 above, -2 below, -3 for a window not set up; key: 0.
    std::int64_t ClickY = 0;
    /// The modifier flags shifted right by 16 (Shift = 0x2).
    std::int64_t Mods = 0;
    /// Key: the window that had the keyboard; click: the window clicked.
    std::uint8_t Window = 0;
    /// Milliseconds since 1 January 2001 00:00 GMT.
    std::int64_t Time = 0;
    /// Always false: a close box posts no event (ask vx::WindowClosed).
    bool CloseBox = false;
    /// Caps Lock was on (Mods bit 0).
    bool CapsLockPressed = false;
    /// Shift was held (Mods bit 1).
    bool ShiftPressed = false;
    /// Ctrl was held (Mods bit 2).
    bool ControlPressed = false;
    /// Alt was held (Mods bit 3).
    bool OptionPressed = false;
    /// Super was held (Mods bit 4).
    bool CommandPressed = false;
    /// The key is on the numeric keypad or an arrow (Mods bit 5).
    bool NumericPadPressed = false;
    /// Help (Mods bit 6).
    bool HelpPressed = false;
    /// A function or navigation key (Mods bit 7).
    bool FnPressed = false;
    /// Key: a cursor or navigation key; click: false.
    bool CursorKeyPressed = false;
    /// Key: F1 and up; click: false.
    bool FunctionKeyPressed = false;
};

/// A chosen menu item.
struct t_MenuEvent {
    /// 3; 0 when the item belongs to no menu.
    std::int64_t Kind = 0;
    /// Title of the menu that holds the item.
    std::string MenuTitle;
    /// Title of the item.
    std::string ItemTitle;
    /// The item's key equivalent, "" when it has none.
    std::string ItemKeyChar;
    /// The key equivalent's modifier flags (not shifted).
    std::uint64_t ItemKeyMods = 0;
    /// Code of the key equivalent's first character, 0 when it has none.
    std::int64_t ItemKeyAsc = 0;
    /// The item's tag.
    std::int64_t ItemAction = 0;
    /// Milliseconds since 1 January 2001 00:00 GMT.
    std::int64_t Time = 0;
};

/// A record of the menu-action table: the toolkit action a menu-item tag selects, with the texts and
/// results of the file panels.
struct t_MenuAction {
    /// The menu-item tag that selects this record.
    std::int64_t Tag = 0;
    /// The action code (see the table on the menus page); 100 open panel, 101 save panel.
    std::int64_t Action = 0;
    /// The panel's title.
    std::string Title;
    /// The panel's message.
    std::string Note;
    /// Save panel: the proposed name; after a panel: the chosen file's name ("" when cancelled).
    std::string FileName;
    std::string
        /// File name extensions the panel offers, separated by commas; empty for every type.
        FileTypes;
    /// After a panel: the chosen path ("" when cancelled).
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
