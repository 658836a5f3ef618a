#include "app/site_menu.h"

#include "files/parent_dir.h"
#include "platform/narrow_text.h"

#include <numeric>
#include <unordered_map>

std::string SiteCaption(std::string_view siteDir, TPathStyle style) {
    return std::string(DropLastChar(siteDir, style).substr(ParentDir(siteDir, style).size()));
}

std::vector<std::string> SiteCaptions(const std::vector<std::string>& siteDirs, TPathStyle style) {
    std::vector<std::string> captions;
    std::vector<std::string> shownFrom; // the part of each path before its caption
    for (const std::string& dir : siteDirs) {
        shownFrom.push_back(ParentDir(dir, style));
        captions.push_back(SiteCaption(dir, style));
    }
    // Captions of sites with different names never meet, since each ends in its site's name;
    // within a name, those still alike grow together, one folder a round.
    std::vector<std::size_t> alike(siteDirs.size());
    std::iota(alike.begin(), alike.end(), 0);
    while (!alike.empty()) {
        std::unordered_map<std::string_view, int> count;
        for (std::size_t i : alike) {
            ++count[captions[i]];
        }
        std::vector<std::size_t> grown;
        for (std::size_t i : alike) {
            if (count[captions[i]] > 1 && !shownFrom[i].empty()) {
                grown.push_back(i);
            }
        }
        // The keys of count are views of the captions that are about to grow.
        count.clear();
        for (std::size_t i : grown) {
            shownFrom[i] = ParentDir(shownFrom[i], style);
            captions[i] = std::string(DropLastChar(siteDirs[i], style).substr(shownFrom[i].size()));
        }
        alike = std::move(grown);
    }
    return captions;
}

bool InSite(std::string_view path, std::string_view siteDir) {
    return path.starts_with(siteDir);
}
