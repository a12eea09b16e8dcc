// The mistake the README warns of: a window set up and never shown. The application must come within
// reach all the same.
#include <vxtools/vxtools.h>

int main(int argc, char** argv) {
    return vx::RunApplication(argc, argv, [] {
        t_InitWindow(0, 4, true, 320, 200, 0, 0, t_Font{}, true);
        for (;;) vx::SleepNanoseconds(10'000'000);
    });
}
