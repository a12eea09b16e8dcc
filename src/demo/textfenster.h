// Textfenster: the text layer in a real window. A 4-bit window of 80 x 25 characters in a console font
// shows colours, inverse text, display modes, escape commands and scrolling, then echoes what the user
// types until Escape ends the program.
#pragma once

#include <vxtools/vxtools.h>

#include <cstdint>

namespace textfenster {

inline constexpr std::uint8_t kWindow = 0;
inline constexpr std::int64_t kWidth = 640, kHeight = 400;

// The system's console font (vx::ReadyFont) when it is 8 x 16; boxes for glyphs, with a log line,
// when it is another size or there is none.
t_Font ConsoleFont(t_Font ready);

// The program: the demonstration, then the echo until Escape; ends its thread with the end message.
void Program();

}  // namespace textfenster
