// PC Screen Font files from hostile bytes, plain and through the gzip path: a font file is untrusted
// input. Loading ends without a crash, and a loaded record is always consistent: as many pixels as its
// codes and glyph size claim, each pixel paper or ink.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "fonts/psf_font.h"

namespace {

void CheckRecord(const t_Font& font) {
    if (font.Data.empty()) return;
    const std::size_t codes = std::size_t(font.End) - font.Start + 1;
    if (font.Format != 2 || font.Width < 1 || font.Height < 1 || font.Width > 256 || font.Height > 256 ||
        font.Data.size() != codes * std::size_t(font.Width * font.Height) ||
        font.Size != std::int64_t(font.Data.size()))
        std::abort();
    for (std::uint8_t p : font.Data)
        if (p != 0 && p != 255) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CheckRecord(vx::PsfFontFromBytes(std::span(data, size)));

    // The same bytes as a file: gzip data is inflated first, anything else is read as it is.
    static const int fd = memfd_create("psf", 0);
    if (fd < 0) return 0;
    if (ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != ssize_t(size)) return 0;
    CheckRecord(vx::LoadPsfFont("/proc/self/fd/" + std::to_string(fd)));
    return 0;
}
