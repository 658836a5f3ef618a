#pragma once

#include <cstddef>
#include <string_view>

// The platform's "same file" rule for paths: whether two paths name one file, and a hash that
// agrees with it. On Linux two paths are the same when their bytes are equal ("A.html" and
// "a.html" are two files); on Windows letter case is ignored by the system's rule for its code
// page, full-width letters included, and "/" is the same separator as "\".
struct TSameFileRule {
    static bool Equal(std::string_view a, std::string_view b);
    static std::size_t Hash(std::string_view path);
};
