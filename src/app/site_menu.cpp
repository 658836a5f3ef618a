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

std::string SiteCaption(std::string_view siteDir, TPathStyle style) {
    return std::string(DropLastChar(siteDir, style).substr(ParentDir(siteDir, style).size()));
}

bool InSite(std::string_view path, std::string_view siteDir) {
    return path.starts_with(siteDir);
}

std::string TSiteComponentNames::Next(std::string_view caption, int index) {
    const std::string base = IsIdentifierTail(caption) ? "PMS" + std::string(caption)
                                                       : "PMSSite" + std::to_string(index);
    if (Taken.insert(base).second) {
        return base;
    }
    // A name found taken here is base + "_" + a number, which no other base can give: the
    // tries of all sites together stay linear.
    int& suffix = NextSuffix.try_emplace(base, 2).first->second;
    std::string name;
    do {
        name = base + "_" + std::to_string(suffix++);
    } while (!Taken.insert(name).second);
    return name;
}
