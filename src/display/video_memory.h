// Handing out blocks of video memory downward from HighMemory, and giving a window's blocks back.
#pragma once

#include <cstdint>
#include <string>

namespace vx {

// The lowest bytes of video memory that are never handed out.
inline constexpr std::int64_t kReservedMemory = 0x10000;

// Where a block of `size` bytes ending at `high` starts: rounded down by the 0xFFFFF400 mask, so a block
// may be up to 3,071 bytes longer than asked for.
constexpr std::int64_t BlockStart(std::int64_t high, std::int64_t size) {
    return std::int64_t(std::uint32_t(high - size + 1) & 0xFFFFF400u);
}

// True when a block of `size` bytes placed below `high` keeps clear of the reserved bytes.
constexpr bool BlockFitsBelow(std::int64_t high, std::int64_t size) {
    return size >= 0 && high - size + 1 >= kReservedMemory && BlockStart(high, size) >= kReservedMemory;
}

struct Block {
    std::int64_t start = -1;
    std::int64_t end = -1;  // inclusive
};

// Places a block ending at HighMemory and lowers HighMemory below it. The caller has made sure it fits
// (BlockFitsBelow).
Block PlaceBlock(std::int64_t size);

// Frees the blocks of an initialised window: clears Initialized, moves the blocks of every window below
// it up over the gap and raises HighMemory. `prefix` begins each log line.
void FreeWindowBlocks(std::uint8_t window, const std::string& prefix);

}  // namespace vx
