#pragma once

// The fake checker's parts that each system does in its own way (posix/ and win32/
// fake_checker.cpp), and the shared ones they use.

#include <optional>
#include <string>

bool Write(const std::string& path, const std::string& bytes);
// Every argument from the first, each in brackets, then FakeReport.
std::string Pages(int argc, char** argv, int first);

void EndAbnormally();
// Starts a copy of this program that does "late-child" with the pages and does not wait for it:
// the copy outlives us.
bool StartLateCopy(int argc, char** argv);
bool MakeFolder(const std::string& path);
// Ends the process of id pid at once, as the system ends a program that is killed.
bool EndProcess(long pid);
// The exit status of an action that only this system has, or nothing for any other action.
std::optional<int> SystemAction(const std::string& output, const std::string& action, int argc,
                                char** argv);
