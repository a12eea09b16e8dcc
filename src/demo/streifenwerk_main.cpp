#include <vxtools/vxtools.h>

#include "streifenwerk.h"

int main(int argc, char** argv) {
    return vx::RunApplication(argc, argv, MainProgram);
}
