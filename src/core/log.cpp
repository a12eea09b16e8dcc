#include "core/log.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>

#include "vxtools/extensions.h"

namespace vx {
namespace {

struct LogState {
    std::mutex mutex;
    bool capturing = false;
    std::string captured;
    std::string view;
};

LogState& State() {
    static LogState* state = new LogState;  // outlives every thread that may still log at exit
    return *state;
}

thread_local std::string pendingPieces;

// -1 until the level is set or read from VXTOOLS_LOG at the first line.
std::atomic<int> level{-1};

LogLevel Level() {
    int l = level.load();
    if (l < 0) {
        const char* text = std::getenv("VXTOOLS_LOG");
        int expected = -1;
        level.compare_exchange_strong(expected, int(LogLevelFromText(text != nullptr ? text : "")));
        l = level.load();
    }
    return LogLevel(l);
}

void Emit(LogState& s, std::string_view text, std::FILE* out) {
    if (out != nullptr) {
        std::fwrite(text.data(), 1, text.size(), out);
        std::fflush(out);
    }
    if (s.capturing) s.captured.append(text);
}

std::FILE* LogStream() {
    switch (Level()) {
        case LogLevel::StandardError:
            return stderr;
        case LogLevel::Quiet:
            return nullptr;
        case LogLevel::Standard:
            break;
    }
    return stdout;
}

}  // namespace

void Log(std::string_view line) {
    std::string whole;
    whole.reserve(pendingPieces.size() + line.size() + 1);
    whole.append(pendingPieces).append(line).push_back('\n');
    pendingPieces.clear();
    LogState& s = State();
    std::FILE* out = LogStream();
    std::lock_guard lock(s.mutex);
    Emit(s, whole, out);
}

void LogPiece(std::string_view piece) {
    pendingPieces.append(piece);
}

void WriteRaw(std::string_view bytes) {
    LogState& s = State();
    std::lock_guard lock(s.mutex);
    Emit(s, bytes, stdout);
}

void SetLogLevel(LogLevel l) {
    level.store(int(l));
}

LogLevel CurrentLogLevel() {
    return Level();
}

LogLevel LogLevelFromText(const std::string& text) {
    if (text == "stderr") return LogLevel::StandardError;
    if (text == "quiet" || text == "off") return LogLevel::Quiet;
    return LogLevel::Standard;
}

void StartLogCapture() {
    LogState& s = State();
    std::lock_guard lock(s.mutex);
    s.capturing = true;
    s.captured.clear();
}

std::string_view CapturedLog() {
    LogState& s = State();
    std::lock_guard lock(s.mutex);
    s.view = s.captured;
    return s.view;
}

std::string TakeCapturedLog() {
    LogState& s = State();
    std::lock_guard lock(s.mutex);
    std::string out;
    out.swap(s.captured);
    return out;
}

}  // namespace vx
