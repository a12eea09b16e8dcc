#include "core/log.h"

#include <cstdio>
#include <mutex>
#include <string>

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

void Emit(LogState& s, std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
    if (s.capturing) s.captured.append(text);
}

}  // namespace

void Log(std::string_view line) {
    std::string whole;
    whole.reserve(pendingPieces.size() + line.size() + 1);
    whole.append(pendingPieces).append(line).push_back('\n');
    pendingPieces.clear();
    LogState& s = State();
    std::lock_guard lock(s.mutex);
    Emit(s, whole);
}

void LogPiece(std::string_view piece) {
    pendingPieces.append(piece);
}

void WriteRaw(std::string_view bytes) {
    LogState& s = State();
    std::lock_guard lock(s.mutex);
    Emit(s, bytes);
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
