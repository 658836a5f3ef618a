#pragma once

#include <string>

// What the shared parts of the platform layer ask of the implementation for the system it runs
// on. Not for use outside src/platform/.

// The system's own text for the error code of a file operation.
std::string SystemErrorText(int errorCode);

// The full path of the running executable as the system tells it; empty when it cannot.
std::string SystemExeName();

// The executable's full path in UTF-8, as the system tells it; empty when it cannot.
std::string SystemExeNameUtf8();
