// The toolkit's process-wide state, start-up, the program thread, and the small helpers a program uses
// from every layer: the log, time, byte strings and the beep.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "vxtools/records.h"

// ---- Process-wide state: created before first use, never freed ----

// The shared video memory: kVideoMemorySize bytes, null until t_InitMemory has run.
inline constexpr std::int64_t kVideoMemorySize = 0x100000F;
extern std::uint8_t* VideoMemory;
// The highest byte a new block may use; blocks are handed out downward from here.
extern std::int64_t HighMemory;
// The eight window records; null until t_InitMemory has run, then never moved or freed.
extern t_Window* WindowTable;

extern std::atomic<bool> MemoryInitialised;
extern std::atomic<std::uint8_t> FirstWindow;
extern std::int64_t TitleBarHeight;
extern std::atomic<bool> LaunchFinished;
extern std::atomic<bool> ApplicationActive;
extern std::atomic<bool> ToolkitInitialised;
// Called when the application is about to terminate; a program may replace it.
extern vx::Handler TerminationHandler;

extern std::array<std::uint8_t, 256> UpperCaseTable;
extern std::array<std::uint8_t, 256> LowerCaseTable;

// Builds the character tables and seeds the random generator. Called once at launch.
void initvxtools();
// Creates video memory, window table and menu-action table, trims the menus and prepares the pasteboard
// text view. Only the first call does anything.
void t_InitMemory();
// t_InitMemory if it has not started, else waits in 10 ms steps until it has finished.
void EnsureMemory();

// ---- The program thread ----

// Starts program on a new thread with the given stack size; returns once the thread has started.
void startprocess(std::function<void()> program, std::int64_t stackSize);
// Runs task concurrently without waiting for it.
void RunInBackground(std::function<void()> task);
// Ends the calling thread, optionally leaving "(Programm Ende)" in a window. Does not return when
// called on a thread the toolkit may end; on the user-interface thread it logs and returns.
void t_QuitProgram(std::uint8_t window);
// The number of the calling thread (the user-interface thread is 1).
int CurrentThreadNumber();

// ---- Byte strings ----

// Exactly 8 upper-case hexadecimal digits of the value's low 32 bits.
std::string HexString(std::int64_t value);
// Latin-1 bytes with ESC hhhh GS escapes to UTF-8 text.
std::string DecodeBytes(std::string_view bytes);

// ---- The beep ----

namespace vx {
enum class BeepSound { NotLookedUp, Missing, Loaded };
}  // namespace vx

// Whether the named sound "sysbeep.aif" was found; looked up on the first SystemBeep.
extern std::atomic<vx::BeepSound> SysbeepSound;
// Plays the named sound "sysbeep.aif" unless it is already playing; the platform's standard beep when
// there is no such sound. The sound is looked up once, on first use. Callable from any thread.
void SystemBeep();

namespace vx {

// ---- The log: standard output, one line per message, flushed at once ----

// Writes one whole line. Pieces this thread wrote before with LogPiece come first, on the same line.
void Log(std::string_view line);
// Writes part of a line without ending it. The piece is held until this thread ends the line, so that
// no other thread's line can land in the middle of it.
void LogPiece(std::string_view piece);

// ---- Time ----

// Seconds since 1 January 2001 00:00 GMT.
[[nodiscard]] double AbsoluteTime();
// Milliseconds of AbsoluteTime, truncated: the toolkit's time stamps.
[[nodiscard]] std::int64_t AbsoluteTimeMillis();
// Sleeps for the given nanoseconds (nanosleep, resumed after signals).
void SleepNanoseconds(std::int64_t ns);

}  // namespace vx
