#pragma once

#include <string>
#include <vector>

// Modal message boxes over the active window. A message may hold paths: it is shown as data,
// in the file-name encoding.

// The standard box for a failure, with an OK button.
void ShowErrorMessage(const std::string& message);
// A failure that may be tried again: true for Retry, false for Cancel.
bool AskRetry(const std::string& message);
// A question with Yes and No buttons, No the default: true for Yes.
bool AskYesNo(const std::string& message);
// A warning with an OK button: the message, then lines of Unicode text in UTF-8, one a line,
// such as names that hold characters the system's code page lacks.
void ShowWarningMessage(const std::string& message, const std::vector<std::string>& utf8Lines);
