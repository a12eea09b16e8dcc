// Compressed fonts from hostile bytes: the first byte is the code width, the rest the code stream, as
// in a format-102 font record. The decoder must end, stay within its output limit, and never crash.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "text/font.h"
#include "text/lzw.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    t_Font font;
    font.Format = 102;
    font.Data.assign(data, data + size);
    const t_Font expanded = ExpandFont(font);
    if (expanded.Format != 2 || expanded.Data.size() > vx::kLzwOutputLimit) std::abort();

    // The same stream read at every width, to reach codes that only odd widths produce.
    if (size > 1) {
        const std::span<const std::uint8_t> stream(data + 1, size - 1);
        const std::vector<std::uint8_t> out = LzwDecode(UnpackCodes(stream, 1 + data[0] % 64));
        if (out.size() > vx::kLzwOutputLimit) std::abort();
    }
    return 0;
}
