#include "app/site_menu.h"

#include "files/parent_dir.h"
#include "platform/narrow_text.h"

#include <algorithm>

namespace {

bool IsIdentifierTail(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '_';
    });
}

} // namespace

std::string SiteCaption(std::string_view siteDir) {
    return std::string(DropLastChar(siteDir).substr(ParentDir(siteDir).size()));
}

bool InSite(std::string_view path, std::string_view siteDir) {
    return path.starts_with(siteDir);
}

std::string SiteComponentName(std::string_view caption, int index,
                              const std::set<std::string>& taken) {
    const std::string base = IsIdentifierTail(caption) ? "PMS" + std::string(caption)
                                                       : "PMSSite" + std::to_string(index);
    std::string name = base;
    for (int suffix = 2; taken.count(name) != 0; ++suffix) {
        name = base + "_" + std::to_string(suffix);
    }
    return name;
}
