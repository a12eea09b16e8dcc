#include "demo/malkasten.h"
#include "shell/application.h"

int main(int argc, char** argv) {
    return vx::RunApplication(argc, argv, malkasten::Program);
}
