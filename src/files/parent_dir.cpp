#include "files/parent_dir.h"

#include "platform/file_names.h"

std::string ParentDir(std::string_view path) {
    // i counts characters from 1, so path[i - 1] is the i-th; the final one is never examined.
    std::size_t i = path.empty() ? 0 : path.size() - 1;
    while (i > 0 && path[i - 1] != PathDelim) {
        --i;
    }
    return std::string(path.substr(0, i));
}
