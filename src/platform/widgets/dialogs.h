#pragma once

#include <string>

// Modal message boxes over the active window. Texts are UTF-8.

// The standard box for a failure, with an OK button.
void ShowErrorMessage(const std::string& message);
// A failure that may be tried again: true for Retry, false for Cancel.
bool AskRetry(const std::string& message);
