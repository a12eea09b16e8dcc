// Where windows are, how large, with which title: graphic windows 0..7 and the windows 8..12.
#pragma once

#include <cstdint>
#include <string>

// One of 21 figures about a window's geometry and text area (selector 0..20); 0 for any other selector.
std::int64_t t_WindowPos(std::uint8_t window, std::int64_t selector);
// Moves and resizes a window; -1 keeps that value. Graphic windows get their border and title around.
void t_WindowSize(std::uint8_t window, std::int64_t x, std::int64_t y, std::int64_t width,
                  std::int64_t height);
// Sets the title; from another thread than the user-interface thread it appears a moment later.
void t_WindowTitle(std::uint8_t window, const std::string& title);
// Shows or hides the title strip.
void t_WindowTitleVisible(std::uint8_t window, bool visible);
// Centres the window on its screen.
void t_WindowCenter(std::uint8_t window);
// Shows the window in front and gives it the keyboard.
void t_WindowFront(std::uint8_t window);
