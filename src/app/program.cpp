// The entry point of allcheck: main(). The window it starts is TMainForm, in main.cpp.
#include "app/main.h"

int main(int argc, char** argv) {
    return RunProgram(argc, argv);
}
