// The pointer over the graphic views, as the platform layer reports it. Kept apart from the clicks
// (mouse_input): movement makes no events, it is only remembered for vx::Pointer.
#pragma once

#include <cstdint>

namespace vx {

// The pointer moved over the view of window `window` to picture pixel (x, y) (column from the left,
// row from the top); `inside` says whether that pixel lies in the picture. Any thread.
void PointerMoved(std::uint8_t window, std::int64_t x, std::int64_t y, bool inside);
// The pointer left the view of window `window`; the last position is kept.
void PointerLeft(std::uint8_t window);

}  // namespace vx
