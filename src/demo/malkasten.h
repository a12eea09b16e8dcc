// Malkasten: a small paint program that shows the interactive half of the toolkit. A 640 x 400 window
// at 4 bits per pixel; each click draws a line from the last point (a click with the secondary button
// only moves the pen there), the "Farbe" menu chooses one of the sixteen colours, C clears, "Bild › Öffnen …"
// and "Bild › Sichern …" load and save PNG files through the file panels, and Bearbeiten › Bild kopieren puts
// the picture on the clipboard. Escape ends the program.
#pragma once

#include <cstdint>
#include <string>

namespace malkasten {

inline constexpr std::uint8_t kWindow = 0;
inline constexpr std::int64_t kWidth = 640, kHeight = 400;
// Menu tags: the sixteen colours from kColourTag on, and the two file items.
inline constexpr std::int64_t kColourTag = 3000;
inline constexpr std::int64_t kOpenTag = 3100;
inline constexpr std::int64_t kSaveTag = 3101;

// The program: set-up, then one loop over keys, clicks and menu choices until Escape.
void Program();

// Draws a PNG file into the window, each pixel in the nearest palette colour, from the top-left corner,
// and whitens the rest. False, with a log line and vx::PictureError, when the file cannot be read or
// the picture is larger than the window.
bool LoadPicture(std::uint8_t window, const std::string& path);

// The file actions behind the panels. Save writes the picture under the chosen name, with ".png" added
// when it has none (asking again when a file of that name exists); Open draws the file into the window.
// A failure is shown in the title with its reason (vx::PictureError) and beeps; false then, or when
// there is nothing to do ("" or a cancelled question).
bool Save(const std::string& chosen);
bool Open(const std::string& path);

}  // namespace malkasten
