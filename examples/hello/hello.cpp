// hello: a first vxtools program. A fan of lines, a greeting; a key or the close box ends it.
// HELLO_SECONDS=n in the environment ends it after n seconds without a key (for scripts and tests).
#include <vxtools/vxtools.h>

#include <cstdlib>

int main(int argc, char** argv) {
    // vx::SetLogLevel(vx::LogLevel::Quiet);  // no log lines at all, the start-up lines included
    return vx::RunApplication(argc, argv, [] {
        t_InitWindow(0, 32, true, 320, 200, 0, 0, vx::ReadyFont(), true);  // 320 x 200, true colour
        t_WindowFront(0);                                                  // windows start hidden
        vx::SetRGBColor(0, 255, 160, 0);
        for (int x = 0; x < 320; x += 8) g_Line(0, 160, 199, x, 40);
        t_Print(0, "Hello, world! Press any key.");
        const char* seconds = std::getenv("HELLO_SECONDS");
        const std::int64_t end = seconds ? vx::AbsoluteTimeMillis() + 1000 * std::atoll(seconds) : -1;
        while (t_NextKeyEvent() < 0 && !vx::WindowClosed(0) && (end < 0 || vx::AbsoluteTimeMillis() < end))
            vx::SleepNanoseconds(10'000'000);
        vx::QuitApplication(0);
    });
}
