#include "toolkit_test.h"

#include "core/log.h"

namespace vx::test {

namespace {

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\n') continue;
        lines.emplace_back(text.substr(start, i - start));
        start = i + 1;
    }
    return lines;
}

}  // namespace

HeadlessPlatform& StartToolkit() {
    HeadlessPlatform& platform = StartHeadlessPlatform();
    StartLogCapture();
    return platform;
}

std::vector<std::string> TakeLogLines() {
    return SplitLines(TakeCapturedLog());
}

std::vector<std::string> TakeOwnLogLines() {
    std::vector<std::string> lines = TakeLogLines();
    std::erase_if(lines, [](const std::string& l) { return l.starts_with("t_WindowAutoUpdateProcess:"); });
    return lines;
}

int CountLogLine(std::string_view line) {
    int count = 0;
    for (const std::string& l : SplitLines(std::string(CapturedLog()))) count += l == line;
    return count;
}

bool LogContains(std::string_view piece) {
    return std::string(CapturedLog()).find(piece) != std::string::npos;
}

}  // namespace vx::test
