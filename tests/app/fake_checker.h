#pragma once

#include <string>

using namespace std::string_literals;

// What the fake checker leaves as its report: line ends of both kinds, NUL and high bytes.
inline const std::string FakeReport = "line 1\r\nline 2\nnul \0 high \x80\xFF\x81\x79 end"s;
