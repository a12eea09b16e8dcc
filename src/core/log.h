// The log: one line per message, flushed at once; standard output unless vx::SetLogLevel or VXTOOLS_LOG
// says otherwise.
#pragma once

#include <string_view>

namespace vx {

// Writes one whole line. Pieces this thread wrote before with LogPiece come first, on the same line.
void Log(std::string_view line);
// Writes part of a line without ending it. The piece is held until this thread ends the line, so that
// no other thread's line can land in the middle of it.
void LogPiece(std::string_view piece);
// Writes characters to standard output at once, without a line end (redirected text output).
void WriteRaw(std::string_view bytes);

// Captures everything the log writes, for tests, whatever the log level. While capturing, output still
// goes where the level sends it.
void StartLogCapture();
std::string_view CapturedLog();  // valid until the next log call; copy it
std::string TakeCapturedLog();   // returns and clears what was captured

}  // namespace vx
