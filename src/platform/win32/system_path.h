#pragma once

#include <string>

// path made full, as the system makes it when it opens a path.
std::wstring FullPath(const std::wstring& path);

// path as the wide functions take it also beyond MAX_PATH characters, where only a full path
// with the prefix "\\?\" lifts the limit.
std::wstring SystemPath(const std::wstring& path);
