#include "platform/file_names.h"

#include "platform/narrow_text.h"

std::string ExtractFilePath(std::string_view path, TPathStyle style) {
    std::size_t delim = LastDelimiter(DirDelims(style), path, style);
    return std::string(delim == std::string_view::npos ? std::string_view()
                                                       : path.substr(0, delim + 1));
}

std::string ExtractFileName(std::string_view path, TPathStyle style) {
    std::size_t delim = LastDelimiter(DirDelims(style), path, style);
    return std::string(delim == std::string_view::npos ? path : path.substr(delim + 1));
}

std::string IncludeTrailingPathDelimiter(std::string_view path, TPathStyle style) {
    std::string withDelim(path);
    if (!path.empty() && LastDelimiter(PathDelims(style), path, style) != path.size() - 1) {
        withDelim += ReadsAsWindows(style) ? '\\' : '/';
    }
    return withDelim;
}

std::string ChangeFileExt(std::string_view path, std::string_view extension, TPathStyle style) {
    std::size_t last = LastDelimiter("." + std::string(DirDelims(style)), path, style);
    std::string_view stem =
        (last != std::string_view::npos && path[last] == '.') ? path.substr(0, last) : path;
    return std::string(stem) + std::string(extension);
}
