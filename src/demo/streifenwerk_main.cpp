#include "demo/streifenwerk.h"
#include "shell/application.h"

int main(int argc, char** argv) {
    return vx::RunApplication(argc, argv, MainProgram);
}
