#include "files/parent_dir.h"

#include "platform/file_names.h"
#include "platform/narrow_text.h"

std::string ParentDir(std::string_view path, TPathStyle style) {
    // The final character is never examined, so a trailing separator does not count.
    std::size_t delim = LastDelimiter(PathDelims(style), DropLastChar(path, style), style);
    return std::string(delim == std::string_view::npos ? std::string_view()
                                                       : path.substr(0, delim + 1));
}
