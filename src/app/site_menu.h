#pragma once

#include "platform/path_style.h"

#include <initializer_list>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

// What the site submenu needs to know of a site directory.

// The directory's own name: the text after ParentDir(siteDir) without siteDir's final
// character, which is normally the trailing separator ("/web/shop/" gives "shop"; written
// without the separator, "/web/shop" gives "sho").
std::string SiteCaption(std::string_view siteDir, TPathStyle style = TPathStyle::Native);

// The submenu's captions of the sites, one a site in order: each site's own name
// (SiteCaption), and where sites share a name, as much more of each path, a folder at a time
// from the end, as tells it apart from the others ("/a/shop/" and "/b/shop/" give "a/shop" and
// "b/shop"). Sites whose whole paths are alike stay alike. Costs time in proportion to the
// sites and the folders shown, however many share a name.
std::vector<std::string> SiteCaptions(const std::vector<std::string>& siteDirs,
                                      TPathStyle style = TPathStyle::Native);

// Whether path lies in the site: its leading bytes equal siteDir exactly, letter case counting.
bool InSite(std::string_view path, std::string_view siteDir);

// Gives the site items their component names, "PMS" + caption, each a valid identifier used
// once. A caption that is no identifier (blanks, hyphens, dots, non-ASCII letters) gives
// "PMSSite" + the site's index instead, and a name already given or taken by another component
// gets "_2", "_3", ... appended. However many sites share a caption, a name costs constant time
// on average: each base name remembers the suffix to try next.
class TSiteComponentNames {
public:
    // taken: the names of the window's other components.
    explicit TSiteComponentNames(std::initializer_list<std::string> taken) : Taken(taken) {}

    std::string Next(std::string_view caption, int index);

private:
    std::unordered_set<std::string> Taken;
    std::unordered_map<std::string, int> NextSuffix; // base name -> the suffix to try next
};
