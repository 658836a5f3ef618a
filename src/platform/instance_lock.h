#pragma once

#include <cstdint>
#include <string>

// One program per output file: a program takes the lock of its output file before it touches
// the file and holds it while it lives; the system frees it when the program ends, however it
// ends. On Windows the lock is a named mutex of the user's session; on Linux an flock on a file
// of the lock's own in a folder that only the user may write (the session's runtime folder),
// which every copy of the program that the user runs finds there.

// Where the file at path lies, the same for every name that reaches it: the identity of its
// folder (GetFileId: links, other spellings and second mounts of the folder count alike) and
// its name as the system tells names apart (on Windows letter case ignored, and the long name of
// a file that exists). The file need not exist. Empty when its folder cannot be reached.
std::string OutputFileKey(const std::string& path);

class TOutputFileLock {
public:
    // Takes the lock of the file at path, or learns that another program holds it. Nothing is
    // locked when the file's folder cannot be reached: then no file can be made there either.
    explicit TOutputFileLock(const std::string& path);
    ~TOutputFileLock();
    TOutputFileLock(const TOutputFileLock&) = delete;
    TOutputFileLock& operator=(const TOutputFileLock&) = delete;

    // Whether another program holds the lock; this one then holds nothing.
    bool HeldElsewhere() const { return Elsewhere; }
    // What the holder's window answers to when a later start asks for it (TFrontOnRequest); empty
    // when nothing is locked.
    const std::string& Key() const { return LockKey; }

private:
    // The system's own handle of the lock: a file descriptor on Linux, a HANDLE on Windows; -1
    // when none is held.
    std::intptr_t Handle = -1;
    std::string LockKey;
    bool Elsewhere = false;
};
