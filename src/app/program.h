#pragma once

// The program from start to end: measures the check box, makes the main window and handles
// events until it has closed. A second start on an output file that another program holds ends
// once it has said so.
int RunProgram(int& argc, char** argv);
