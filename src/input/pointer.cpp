#include "input/pointer.h"

#include <array>
#include <mutex>

#include "input/mouse_input.h"
#include "vxtools/extensions.h"

namespace vx {
namespace {

struct Pointers {
    std::mutex mutex;
    std::array<PointerState, 8> states{};
};

Pointers& All() {
    static Pointers* pointers = new Pointers;  // read by program threads until the process ends
    return *pointers;
}

}  // namespace

void PointerMoved(std::uint8_t window, std::int64_t x, std::int64_t y, bool inside) {
    if (window >= 8) return;
    Pointers& p = All();
    std::lock_guard lock(p.mutex);
    PointerState& s = p.states[window];
    if (inside) {
        s.x = x;
        s.y = y;
    }
    s.inside = inside;
}

void PointerLeft(std::uint8_t window) {
    if (window >= 8) return;
    Pointers& p = All();
    std::lock_guard lock(p.mutex);
    p.states[window].inside = false;
}

PointerState Pointer(std::uint8_t window) {
    if (window >= 8) return {};
    PointerState s;
    {
        Pointers& p = All();
        std::lock_guard lock(p.mutex);
        s = p.states[window];
    }
    s.primaryDown = LeftButtonDown.load();
    s.secondaryDown = RightButtonDown.load();
    return s;
}

}  // namespace vx
