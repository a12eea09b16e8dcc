// A whole application that ends itself: the program draws, then asks to quit with status 3 from the
// program thread. The test passes when the process ends by itself with that status and printed
// nothing on standard output (VXTOOLS_LOG=quiet).
#include <vxtools/vxtools.h>

int main(int argc, char** argv) {
    return vx::RunApplication(argc, argv, [] {
        t_InitWindow(0, 32, false, 64, 64, 0, 0, vx::ReadyFont(), true);
        vx::SetRGBColor(0, 200, 100, 50);
        g_Line(0, 0, 0, 63, 63);
        t_Print(0, "bye");
        t_WindowUpdate(0, false);
        vx::QuitApplication(3);
    });
}
