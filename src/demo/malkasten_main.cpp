#include <vxtools/vxtools.h>

#include "malkasten.h"

int main(int argc, char** argv) {
    return vx::RunApplication(
        argc, argv, malkasten::Program,
        "Malkasten: a small paint program on vxtools; lines with the mouse, colours from "
        "the menu,\nPNG pictures through the file panels.");
}
