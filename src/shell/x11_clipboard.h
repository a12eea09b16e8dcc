// Another program's clipboard text on X11, read with a deadline and a size cap. Qt's own read takes the
// whole text, however large, and waits seconds for an owner that does not answer.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>

namespace vx::shell {

struct X11ClipboardText {
    bool answered = false;  // the owner answered in time, or there is none
    bool hasText = false;
    std::string text;       // at most the limit: the first bytes of the text, as UTF-8
    std::size_t total = 0;  // the whole text's length in bytes, or as much as arrived before the deadline
    bool complete = false;  // total is the whole text's length
};

// Asks the owner of the CLIPBOARD selection for its text over an X connection of its own (DISPLAY) and
// keeps its first `limit` bytes; the rest is only counted, until `wait` is over. Any thread; it touches no Qt
// object. The text is not asked for when this process owns the clipboard: it could not answer while
// its user-interface thread waits here.
X11ClipboardText ReadX11ClipboardText(std::size_t limit, std::chrono::milliseconds wait);

}  // namespace vx::shell
