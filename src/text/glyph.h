// Drawing one glyph into a window's text cell, and the text block that records every cell.
#pragma once

#include <cstdint>

#include "display/window.h"
#include "vxtools/text.h"

namespace vx::text {

// The two halves of a window's text block, checked to hold width x height cells inside video memory.
struct TextBlock {
    std::uint8_t* chars = nullptr;
    std::uint8_t* colours = nullptr;
    std::int64_t width = 0;
    std::int64_t height = 0;

    std::uint8_t* Char(std::int64_t x, std::int64_t y) const { return chars + (y - 1) * width + (x - 1); }
    std::uint8_t* Colour(std::int64_t x, std::int64_t y) const { return colours + (y - 1) * width + (x - 1); }
};
// False when the record's text grid does not fit its text block or video memory.
bool MakeTextBlock(const t_Window& w, TextBlock& block);

// The text window's bounds, clamped into the grid so that no operation leaves the text block whatever a
// program wrote into the record: each bound lies in 1..size, and a last bound below its first is raised
// to it. `valid` is false for a grid without cells.
struct TextArea {
    std::int64_t firstColumn = 1, lastColumn = 0, firstLine = 1, lastLine = 0;
    bool valid = false;
};
TextArea ClampedArea(const t_Window& w);

// t_PrintSymbol after its window check, for callers that have made it already.
void PrintSymbolReady(std::uint8_t window, t_Window& w, std::uint8_t code, std::uint8_t colour,
                      std::int64_t x, std::int64_t y);
// PrintSymbolReady for cells x1..x2 of line y, all with the same code and colour. Where cells cover
// whole bytes, the first cell is drawn and the bytes that drawing writes are copied from it (alpha bytes
// stay), which gives the same memory as drawing each.
void PrintSymbolRun(std::uint8_t window, t_Window& w, std::uint8_t code, std::uint8_t colour, std::int64_t x1,
                    std::int64_t x2, std::int64_t y);
// Writes code as the character with the same scalar value to standard output.
void WriteCharacter(std::int64_t code);

}  // namespace vx::text
