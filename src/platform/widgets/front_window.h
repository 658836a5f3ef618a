#pragma once

#include <memory>
#include <string>

class TForm;

// One program per output file: a second start on the same output file brings the first one's
// window to the front. key is the output file's lock (TOutputFileLock::Key), which both hold.
// On Windows the window is found by a property of that name; on Linux the first program
// watches the lock's file, and the second writes to it.

// While it lives, form comes to the front (restored when minimised, with its open box on top)
// whenever another start asks under key.
class TFrontOnRequest {
public:
    TFrontOnRequest(TForm& form, const std::string& key);
    ~TFrontOnRequest();
    TFrontOnRequest(const TFrontOnRequest&) = delete;
    TFrontOnRequest& operator=(const TFrontOnRequest&) = delete;

private:
    struct TImpl;
    std::unique_ptr<TImpl> Impl;
};

// Asks the window that answers under key, in whatever program it is, to come to the front; on
// Linux as far as the desktop lets a program raise its own window.
void AskToFront(const std::string& key);
