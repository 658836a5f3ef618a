#include "platform/same_file_rule.h"

#include <functional>

bool TSameFileRule::Equal(std::string_view a, std::string_view b) {
    return a == b;
}

std::size_t TSameFileRule::Hash(std::string_view path) {
    return std::hash<std::string_view>{}(path);
}
