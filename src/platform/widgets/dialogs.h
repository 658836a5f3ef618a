#pragma once

#include <string>

// Modal message boxes over the active window. A message may hold paths: it is shown as data,
// in the file-name encoding.

// The standard box for a failure, with an OK button.
void ShowErrorMessage(const std::string& message);
// A failure that may be tried again: true for Retry, false for Cancel.
bool AskRetry(const std::string& message);
