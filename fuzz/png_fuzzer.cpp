// PNG pictures from hostile bytes, read from a file as a program reads a picture the user chose: a
// picture file is untrusted input. Nothing may crash or write outside the window's block, and memory
// stays bounded: run with -rss_limit_mb=300 -malloc_limit_mb=300, which a reader that allocates what a
// header declares, or inflates every text and profile chunk whole, breaks at once.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/state.h"
#include "demo/malkasten.h"
#include "display/window.h"
#include "headless/headless_platform.h"
#include "vxtools/vxtools.h"

namespace {

constexpr std::uint8_t kWindow = 0;

// The picture reader under test, in one line.
bool Load(const std::string& path) {
    return malkasten::LoadPicture(kWindow, path);
}

std::uint64_t Sum(std::int64_t from, std::int64_t to) {
    from = from < 0 ? 0 : from;
    to = to > kVideoMemorySize ? kVideoMemorySize : to;
    std::uint64_t s = 0;
    for (std::int64_t i = from; i < to; ++i) s = s * 131 + VideoMemory[i];
    return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const int fd = [] {
        vx::SetLogLevel(vx::LogLevel::Quiet);
        vx::StartHeadlessPlatform();
        t_InitWindow(kWindow, 4, false, malkasten::kWidth, malkasten::kHeight, 0, 0, t_Font{}, true);
        return memfd_create("png", 0);
    }();
    if (fd < 0) return 0;
    if (ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != ssize_t(size)) return 0;

    const t_Window& w = WindowRecord(kWindow);
    constexpr std::int64_t kMargin = 4096;
    const std::uint64_t below = Sum(w.MemoryStart - kMargin, w.MemoryStart);
    const std::uint64_t above = Sum(w.MemoryEnd + 1, w.MemoryEnd + 1 + kMargin);
    (void)Load("/proc/self/fd/" + std::to_string(fd));
    if (Sum(w.MemoryStart - kMargin, w.MemoryStart) != below ||
        Sum(w.MemoryEnd + 1, w.MemoryEnd + 1 + kMargin) != above)
        std::abort();
    return 0;
}
