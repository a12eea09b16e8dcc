// Event records, the three event queues with their flags, and the program's handlers.
#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "core/handler.h"
#include "core/platform.h"

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

namespace vx {

// The modifier flags of key presses and clicks, in the toolkit's numbering.
inline constexpr std::uint64_t kCapsLockFlag = 0x10000;
inline constexpr std::uint64_t kShiftFlag = 0x20000;
inline constexpr std::uint64_t kControlFlag = 0x40000;
inline constexpr std::uint64_t kOptionFlag = 0x80000;
inline constexpr std::uint64_t kCommandFlag = 0x100000;
inline constexpr std::uint64_t kNumericPadFlag = 0x200000;
inline constexpr std::uint64_t kHelpFlag = 0x400000;
inline constexpr std::uint64_t kFunctionFlag = 0x800000;

// Fills Mods and the eight modifier fields of an event from the modifier flags.
void SetEventModifiers(t_Event& event, std::uint64_t flags);

// How a queue keeps its flag: mirroring whether it holds records (keys, clicks), or only ever raising
// it when a record arrives (menus; the program clears that flag itself).
enum class FlagRule { kMirror, kRaiseOnAppend };

// A queue shared between the user-interface thread, which appends, and the program's threads, which
// read and remove. Every access takes the queue's lock; records keep their arrival order. The queue's
// flag is written under the same lock as the records, so it can never say "empty" over a record that
// another thread appended between a test and the store.
template <class T>
class EventQueue {
  public:
    EventQueue(std::atomic<bool>& flag, FlagRule rule) : flag_(&flag), rule_(rule) {}
    // A list without a flag, for the program's own records.
    EventQueue() = default;

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
    std::optional<T> Last() const {
        std::lock_guard lock(mutex_);
        if (items_.empty()) return std::nullopt;
        return items_.back();
    }
    std::size_t Count() const {
        std::lock_guard lock(mutex_);
        return items_.size();
    }
    bool Empty() const { return Count() == 0; }
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
    std::vector<T> Snapshot() const {
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
    const FlagRule rule_ = FlagRule::kMirror;
};

}  // namespace vx

// The flags of the three queues. Each queue stores its flag itself, under its lock: KeyEventAvailable
// and MouseEventAvailable mirror whether their queue holds records, MenuEventAvailable is raised by
// every menu record appended. The program may clear a flag; the next post sets it right again.
extern std::atomic<bool> KeyEventAvailable;
extern std::atomic<bool> MouseEventAvailable;
extern std::atomic<bool> MenuEventAvailable;
// The queues, the last key event and the handlers are made once and never destroyed, so that a handler
// task or the program thread still running while the process ends never meets a destroyed object.
extern vx::EventQueue<t_Event>& KeyEventQueue;
extern vx::EventQueue<t_Event>& MouseEventQueue;
extern vx::EventQueue<t_MenuEvent>& MenuEventQueue;
// The key event last taken by t_NextKeyEvent; written and read on the program thread.
extern t_Event& KeyEvent;
extern vx::Handler& ProgramMouseHandler;
extern vx::Handler& ProgramMenuHandler;

// Takes the oldest key event into KeyEvent and returns its Value; -1 when none is waiting.
std::int64_t t_NextKeyEvent();
// Run on background tasks after a click or an unhandled menu item; call the program's handler.
void t_EventMouse();
void t_EventMenu();
// The toolkit's number of a platform window (0..12), 255 for any other.
std::uint8_t t_WindowNumber(vx::WindowRef window);
// The number of the application's main window, 255 when there is none or it is not the toolkit's.
std::uint8_t t_FrontWindowNumber();
