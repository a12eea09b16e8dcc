/// @file extensions.h
/// @brief Additions for programs of your own: ending the application, a ready font, the pointer, true
/// colours, named colours, shapes, copies and pictures, and the log level.
///
/// Everything here lives in namespace `vx` and adds to the toolkit without changing any of its other
/// calls. The header stands alone: it needs only the standard library.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

struct t_Font;

namespace vx {

/// @name Application
/// @{

/// vx::RunApplication with the command-line conventions of desktop programs: `--help` prints a usage
/// text that includes `about` (one or two lines on what the program does) and `--version` the toolkit's
/// version, both ending with status 0 before any window opens (1 when the text could not be written);
/// an option that neither this nor Qt knows ends with a message on standard error and status 2. Qt's own
/// options (`-platform offscreen`, `-style Fusion`, ...) work as before. Without a display it ends with
/// one line on standard error and status 1. SIGTERM, SIGINT and SIGHUP quit as the Quit item does from
/// the start on, and closed standard descriptors are opened on /dev/null first. Part of the Qt
/// application library (`vxtools::shell`).
int RunApplication(int argc, char** argv, std::function<void()> program, const std::string& about);

/// Ends the whole application with exit status `status`, as the Quit menu item does: the windows close,
/// the event loop stops and the process returns `status`. Callable from any thread; usually the last
/// call of the program function given to vx::RunApplication. It returns at once, and the program
/// function should return after it: the toolkit's calls give up from then on.
///
/// Without an application (no vx::RunApplication, for example on the headless platform) it logs one
/// line and records the status for vx::RequestedExitStatus; nothing ends.
void QuitApplication(int status = 0);

/// The status last asked for with vx::QuitApplication, or -1 before any call.
int RequestedExitStatus();

/// @}

/// @name Fonts
/// @{

/// A format-2 font (256 glyphs in Latin-1 order, one byte per pixel) for t_InitWindow, read from the
/// system's console fonts, so that text works without a font file of your own.
///
/// Search order: the PSF file that the environment variable `VXTOOLS_FONT` names, if it is set; then, in
/// `/usr/share/consolefonts` (Debian's console-setup-linux package), `Lat15-Fixed16.psf.gz`,
/// `Lat15-VGA16.psf.gz`, `Lat15-Terminus16.psf.gz`, `Uni2-Fixed16.psf.gz`, `Uni2-VGA16.psf.gz` and
/// `default8x16.psf.gz`. The first of them that is a sound PSF font is taken. When none is, one log line
/// says so and what to install, and the font is empty (a window initialised with it has no text layer).
/// Part of the font library (`vxtools::fonts`).
t_Font ReadyFont();

/// @}

/// @name Pointer
/// @{

/// Where the pointer is over graphic window `window`, in the window's own pixels.
struct PointerState {
    /// Column from the left edge of the drawing area, 0 .. width - 1 when `inside`.
    std::int64_t x = -1;
    /// Row from the top edge of the drawing area, 0 .. height - 1 when `inside`.
    std::int64_t y = -1;
    /// True while the pointer is over the window's picture. Outside, x and y keep the last pixel the
    /// pointer crossed, or -1 when it has not been over the picture yet.
    bool inside = false;
    /// The primary button is held (as the toolkit's LeftButtonDown flag says).
    bool primaryDown = false;
    /// The secondary button is held (as RightButtonDown says).
    bool secondaryDown = false;
};

/// The pointer over graphic window `window` (0..7) as the views last reported it. The views report
/// every movement, whether a button is held or not, zoomed or not, so a program can draw freehand by
/// polling this in its loop. Any other window number gives the default state (outside, -1, -1).
PointerState Pointer(std::uint8_t window);

/// @}

/// @name Drawing
/// @{

/// Makes the colour (red, green, blue) the current colour of graphic window `window`, as t_Color does
/// for a palette entry. 24- and 32-bit windows draw the colour itself, 8- and 16-bit windows its grey
/// level, 1- and 4-bit windows the nearest palette entry. A window that is not initialised gets the
/// same log line as t_Color.
void SetRGBColor(std::uint8_t window, std::uint8_t red, std::uint8_t green, std::uint8_t blue);

/// The sixteen palette entries by name, for t_Color: `t_Color(0, vx::Colour::Orange)`.
namespace Colour {
inline constexpr std::int64_t Black = 0;
inline constexpr std::int64_t Red = 1;
inline constexpr std::int64_t DarkBlue = 2;
inline constexpr std::int64_t Magenta = 3;
inline constexpr std::int64_t DarkGreen = 4;
inline constexpr std::int64_t Grey = 5;
inline constexpr std::int64_t Blue = 6;
inline constexpr std::int64_t SkyBlue = 7;
inline constexpr std::int64_t Brown = 8;
inline constexpr std::int64_t Orange = 9;
inline constexpr std::int64_t LightGrey = 10;
inline constexpr std::int64_t Pink = 11;
inline constexpr std::int64_t Green = 12;
inline constexpr std::int64_t Yellow = 13;
inline constexpr std::int64_t Cyan = 14;
inline constexpr std::int64_t White = 15;
}  // namespace Colour

/// Sets how 24- and 32-bit windows combine the current colour with the pixel already there (the
/// record's `DrawingMode`, 0..7; see the drawing page). Other depths store the mode and ignore it.
/// A mode outside 0..7 is refused with a log line.
void SetDrawMode(std::uint8_t window, std::int64_t mode);

/// The outline of the rectangle whose top-left pixel is (x, y), `width` pixels wide and `height` high,
/// in the current colour under the drawing mode, each pixel once. Everything below is clipped to the
/// window, leaves `PositionX`/`PositionY` alone, and draws nothing for a width or height below 1.
void DrawRect(std::uint8_t window, std::int64_t x, std::int64_t y, std::int64_t width, std::int64_t height);
/// The rectangle of vx::DrawRect, filled.
void FillRect(std::uint8_t window, std::int64_t x, std::int64_t y, std::int64_t width, std::int64_t height);
/// The outline of the circle around (cx, cy): the pixels of vx::FillCircle that have a neighbour
/// (left, right, above or below) outside it. A radius of 0 is one pixel; a negative radius or one
/// above 16777216 is refused with a log line.
void Circle(std::uint8_t window, std::int64_t cx, std::int64_t cy, std::int64_t radius);
/// The filled circle around (cx, cy): every pixel (x, y) with (x - cx)^2 + (y - cy)^2 <= (radius + 1/2)^2.
void FillCircle(std::uint8_t window, std::int64_t cx, std::int64_t cy, std::int64_t radius);
/// The outline of the ellipse around (cx, cy) with half-axes `radiusX` across and `radiusY` down, as
/// vx::Circle is the outline of vx::FillCircle.
void Ellipse(std::uint8_t window, std::int64_t cx, std::int64_t cy, std::int64_t radiusX,
             std::int64_t radiusY);
/// The filled ellipse: every pixel with ((x - cx) / (radiusX + 1/2))^2 + ((y - cy) / (radiusY + 1/2))^2 <= 1.
void FillEllipse(std::uint8_t window, std::int64_t cx, std::int64_t cy, std::int64_t radiusX,
                 std::int64_t radiusY);
/// Fills the area around (x, y) that has the same stored pixel value as (x, y), reaching neighbours
/// left, right, above and below, in the current colour under the drawing mode. Works span by span
/// with a list of pending spans on the heap, never recursing. A start outside the window draws nothing.
void FloodFill(std::uint8_t window, std::int64_t x, std::int64_t y);
/// Copies the `width` x `height` pixels at (x, y) of window `from` to (toX, toY) of window `to`; both
/// rectangles are clipped, and overlapping rectangles in one window copy as if through a buffer. Between
/// windows of the same depth the stored bits are copied; between different depths each pixel is
/// converted as vx::LoadPicture converts a picture's pixels. The drawing mode plays no part.
void CopyRect(std::uint8_t from, std::int64_t x, std::int64_t y, std::int64_t width, std::int64_t height,
              std::uint8_t to, std::int64_t toX, std::int64_t toY);

/// The size of a picture file, as vx::LoadPicture reports it.
struct PictureSize {
    std::int64_t width = 0;
    std::int64_t height = 0;
};

/// Draws the PNG file at `path` into graphic window `window` with its top-left pixel at (x, y), clipped
/// to the window: 1-bit windows take black or white, whichever is nearer, 4-bit windows the nearest
/// palette entry, 8- and 16-bit windows the grey level, 24- and 32-bit windows the colour (16 and 32
/// bits also the picture's alpha). The drawing mode plays no part. When `size` is given it receives the
/// picture's width and height once the file has been accepted.
///
/// Refused with a log line and vx::PictureError set: a window that is not ready, a file that cannot be
/// opened ("not readable") or is not a regular file ("not a regular file"), one that is not a PNG file
/// ("not a PNG picture"), a picture wider or higher than the window ("too large", before anything is
/// allocated), one whose chunks before the image data hold more than 8 MiB, packed or unpacked ("too
/// large"), and one whose data is damaged ("damaged"). A picture damaged half way leaves the rows
/// before the damage drawn. Rows are decoded one at a time: memory stays at one row of the picture.
bool LoadPicture(std::uint8_t window, const std::string& path, std::int64_t x, std::int64_t y,
                 PictureSize* size = nullptr);

/// @}

/// @name Log
/// @{

/// Where the toolkit's log lines go. Output that a program sends to standard output on purpose (text
/// redirected with t_RedirectOutput) is not a log line and always goes to standard output.
enum class LogLevel {
    /// Every line on standard output (the default).
    Standard,
    /// Every line on standard error, keeping standard output for the program's own.
    StandardError,
    /// No log lines at all.
    Quiet,
};

/// Sets where log lines go, overriding the environment variable `VXTOOLS_LOG`, which the toolkit reads
/// at its first log line: `stdout` (or unset) for Standard, `stderr` for StandardError, `quiet` (or
/// `off`) for Quiet. Any other value counts as unset.
void SetLogLevel(LogLevel level);

/// The current log level.
LogLevel CurrentLogLevel();

/// The log level that a value of `VXTOOLS_LOG` names; Standard for an unknown value.
LogLevel LogLevelFromText(const std::string& text);

/// @}

}  // namespace vx
