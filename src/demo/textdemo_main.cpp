#include <vxtools/vxtools.h>

#include "textfenster.h"

int main(int argc, char** argv) {
    return vx::RunApplication(argc, argv, textfenster::Program,
                              "Textfenster: the vxtools text layer in an 80 x 25 window; Escape ends it.");
}
