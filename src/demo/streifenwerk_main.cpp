#include <vxtools/vxtools.h>

#include "streifenwerk.h"

int main(int argc, char** argv) {
    return vx::RunApplication(argc, argv, MainProgram,
                              "Streifenwerk: the vxtools demonstration, moire fans of lines, a new pattern "
                              "every two seconds.\nEscape ends the program, Ctrl+Q quits.");
}
