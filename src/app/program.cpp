// The entry point of allcheck.
#include "app/main.h"

int main(int argc, char** argv) {
    return RunProgram(argc, argv);
}
