#pragma once

#include "platform/path_style.h"

#include <string>
#include <string_view>
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
