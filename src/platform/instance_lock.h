#pragma once

#include <cstdint>
#include <string>

// One program per output file: a program takes the lock of its output file before it touches
// the file and holds it while it lives; the system frees it when the program ends, however it
// ends. On Windows the lock is a named mutex of the user's session; on Linux an flock on a file
// of the lock's own in the user's lock folder, /tmp/allcheck-UID: the same in every environment
// the user starts the program from (a desktop, su, ssh, cron), whatever XDG_RUNTIME_DIR says,
// and used only while it is a folder of the user's own that no one else may change.

// Where the file at path lies, the same for every name that reaches it: the identity of its
// folder (GetFileId: links, other spellings and second mounts of the folder count alike) and
// its name as the system tells names apart (on Windows letter case ignored, and the long name of
// a file that exists). The file need not exist. Empty when its folder cannot be reached.
std::string OutputFileKey(const std::string& path);

class TOutputFileLock {
public:
    // Takes the lock of the file at path, or learns that another program holds it, or that the
    // lock cannot be taken at all (Failed). Nothing is locked when the file's folder cannot be
    // reached: then no file can be made there either.
    explicit TOutputFileLock(const std::string& path);
    ~TOutputFileLock();
    TOutputFileLock(const TOutputFileLock&) = delete;
    TOutputFileLock& operator=(const TOutputFileLock&) = delete;

    // Whether another program holds the lock; this one then holds nothing.
    bool HeldElsewhere() const { return Elsewhere; }
    // Whether the lock could not be taken for another reason than another program holding it:
    // a lock folder that someone else could change, or a refusal of the system. The program
    // then must not touch the output file; FailureText says why, in the user's words.
    bool Failed() const { return !Failure.empty(); }
    const std::string& FailureText() const { return Failure; }
    // What the holder's window answers to when a later start asks for it (TFrontOnRequest); empty
    // when nothing is locked.
    const std::string& Key() const { return LockKey; }

private:
    // The system's own handle of the lock: a file descriptor on Linux, a HANDLE on Windows; -1
    // when none is held.
    std::intptr_t Handle = -1;
    std::string LockKey;
    bool Elsewhere = false;
    std::string Failure;
};

#ifndef _WIN32
// Test seam: the lock folder is made in base instead of /tmp. An empty base restores /tmp.
void OverrideLockFolderBase(const std::string& base);
#endif
