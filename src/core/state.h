// The toolkit's process-wide state. Everything here is created before first use and lives until the
// process ends; nothing is ever freed, so no thread meets a destroyed object at exit.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "core/handler.h"

// The shared video memory: kVideoMemorySize bytes, null until t_InitMemory has run.
inline constexpr std::int64_t kVideoMemorySize = 0x100000F;
extern std::uint8_t* VideoMemory;
// The highest byte a new block may use; blocks are handed out downward from here.
extern std::int64_t HighMemory;

extern std::atomic<bool> MemoryInitStarted;
extern std::atomic<bool> MemoryInitialised;
extern std::atomic<bool> AutoUpdateRunning;
extern std::atomic<std::uint8_t> FirstWindow;
extern std::int64_t TitleBarHeight;
extern std::atomic<bool> LaunchFinished;
extern std::atomic<bool> ApplicationActive;
extern std::atomic<bool> ToolkitInitialised;
// Called when the application is about to terminate; a program may replace it.
extern vx::Handler TerminationHandler;

extern std::array<std::uint8_t, 256> UpperCaseTable;
extern std::array<std::uint8_t, 256> LowerCaseTable;
extern std::array<std::uint8_t, 16> HexDigits;
extern std::array<int, 256> HexValue;

// The four bytes "vxfn" that identify the toolkit's fonts.
inline constexpr std::array<std::uint8_t, 4> FontIdentifier{'v', 'x', 'f', 'n'};

// Builds the character tables and seeds the random generator. Called once at launch.
void initvxtools();
// Creates video memory, window table and menu-action table, trims the menus and prepares the pasteboard
// text view. Only the first call does anything.
void t_InitMemory();
// t_InitMemory if it has not started, else waits in 10 ms steps until it has finished.
void EnsureMemory();
