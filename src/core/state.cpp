#include "core/state.h"

std::uint8_t* VideoMemory = nullptr;
std::int64_t HighMemory = 0xFFFFFF;
t_Window* WindowTable = nullptr;
std::atomic<bool> MemoryInitStarted{false};
std::atomic<bool> MemoryInitialised{false};
std::atomic<bool> AutoUpdateRunning{false};
std::atomic<std::uint8_t> FirstWindow{255};
std::int64_t TitleBarHeight = 0;
std::atomic<bool> LaunchFinished{false};
std::atomic<bool> ApplicationActive{false};
std::atomic<bool> ToolkitInitialised{false};
vx::Handler TerminationHandler;

std::array<std::uint8_t, 256> UpperCaseTable{};
std::array<std::uint8_t, 256> LowerCaseTable{};
std::array<std::uint8_t, 16> HexDigits{};
std::array<int, 256> HexValue{};
