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

// The name of the file at the full path file, in the form in which the system tells names
// apart: on Linux the name's bytes; on Windows its long name where the file exists (not an 8.3
// alias), in upper case.
std::string FileNameKey(const std::string& file);
