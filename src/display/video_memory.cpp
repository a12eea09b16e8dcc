#include "display/video_memory.h"

#include <cstring>

#include "core/log.h"
#include "core/state.h"
#include "core/strings.h"
#include "display/window.h"

namespace vx {

namespace {

bool InsideMemory(std::int64_t start, std::int64_t end) {
    return start >= 0 && start <= end && end < kVideoMemorySize;
}

// Moves start..end up by d bytes. memmove copies overlapping ranges as a top-down byte loop would.
bool MoveUp(std::int64_t start, std::int64_t end, std::int64_t d) {
    if (!InsideMemory(start, end) || !InsideMemory(start + d, end + d)) return false;
    std::memmove(VideoMemory + start + d, VideoMemory + start, std::size_t(end - start + 1));
    return true;
}

}  // namespace

Block PlaceBlock(std::int64_t size) {
    const Block block{BlockStart(HighMemory, size), HighMemory};
    HighMemory = block.start - 1;
    return block;
}

void FreeWindowBlocks(std::uint8_t window, const std::string& prefix) {
    t_Window& self = WindowTable[window];
    Store(self.Initialized, false, std::memory_order_release);
    const std::int64_t selfEnd = self.MemoryEnd;
    std::int64_t d = self.MemoryEnd - self.MemoryStart + 1;
    Log(prefix + " high memory = $" + HexString(selfEnd) + ", graphic block size to delete = $" +
        HexString(d) + ".");
    if (self.TextMemoryStart >= 0) {
        const std::int64_t t = self.TextMemoryEnd - self.TextMemoryStart + 1;
        Log(prefix + " high memory = $" + HexString(selfEnd) + ", text block size to delete = $" +
            HexString(t) + ".");
        d += t;
    }
    // A record whose blocks are not where allocation put them cannot be freed safely; keep everything.
    if (d <= 0 || !InsideMemory(self.MemoryStart, self.MemoryEnd)) return;

    for (std::uint8_t n = 0; n < 8; ++n) {
        t_Window& w = WindowTable[n];
        if (!Load(w.Initialized) || w.MemoryStart >= selfEnd) continue;
        Log(prefix + " moving graphic block for win #" + std::to_string(n) + "$" + HexString(w.MemoryStart) +
            "..." + HexString(w.MemoryEnd) + " to" + HexString(w.MemoryStart + d) + "..." +
            HexString(w.MemoryEnd + d));
        MoveUp(w.MemoryStart, w.MemoryEnd, d);
        if (w.TextMemoryStart >= 0 && w.TextMemoryStart < selfEnd) {
            Log(prefix + " moving text block for win #" + std::to_string(n) + "$" +
                HexString(w.TextMemoryStart) + "..." + HexString(w.TextMemoryEnd) + " to" + "$" +
                HexString(w.TextMemoryStart + d) + "..." + HexString(w.TextMemoryEnd + d));
            MoveUp(w.TextMemoryStart, w.TextMemoryEnd, d);
            Store(w.TextMemoryStart, w.TextMemoryStart + d);
            Store(w.TextMemoryEnd, w.TextMemoryEnd + d);
        }
        Store(w.MemoryStart, w.MemoryStart + d);
        Store(w.MemoryEnd, w.MemoryEnd + d);
    }
    HighMemory += d;
}

}  // namespace vx
