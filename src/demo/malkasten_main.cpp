#include <vxtools/vxtools.h>

#include "malkasten.h"

int main(int argc, char** argv) {
    return vx::RunApplication(argc, argv, malkasten::Program);
}
