#include "app/unreadable_sites.h"

#include "platform/find_file.h"
#include "platform/narrow_text.h"

#include <algorithm>
#include <iterator>

namespace {
// A box shows this many folders; the rest are counted.
constexpr std::size_t SitesShown = 10;
} // namespace

std::vector<std::string> UnreadableSites(const TStringList& siteDirs) {
    std::vector<std::string> unreadable;
    std::copy_if(siteDirs.begin(), siteDirs.end(), std::back_inserter(unreadable),
                 [](const std::string& dir) { return !CanListFolder(dir); });
    return unreadable;
}

std::string UnreadableSitesNotice(const std::vector<std::string>& sites) {
    std::string notice = NarrowText("次の ") + std::to_string(sites.size()) +
                         NarrowText(" 件のｻｲﾄのﾌｫﾙﾀﾞが見つからないか読めないので、"
                                    "そのﾌｧｲﾙはﾘｽﾄにありません:");
    const std::size_t shown = std::min(sites.size(), SitesShown);
    for (std::size_t i = 0; i < shown; ++i) {
        notice += "\n" + sites[i];
    }
    if (sites.size() > shown) {
        notice += NarrowText("\nほか ") + std::to_string(sites.size() - shown) + NarrowText(" 件");
    }
    return notice;
}
