// The entry point of allcheck. The program itself, from start to end, is RunProgram
// (program.cpp); its window is TMainForm (main.cpp).
#include "app/program.h"

int main(int argc, char** argv) {
    return RunProgram(argc, argv);
}
