#pragma once

#include <set>
#include <string>
#include <string_view>

// What the site submenu needs to know of a site directory.

// The directory's own name: the text after ParentDir(siteDir) without siteDir's final
// character, which is normally the trailing separator ("/web/shop/" gives "shop"; written
// without the separator, "/web/shop" gives "sho").
std::string SiteCaption(std::string_view siteDir);

// Whether path lies in the site: its leading bytes equal siteDir exactly, letter case counting.
bool InSite(std::string_view path, std::string_view siteDir);

// A component name "PMS" + caption that is a valid identifier and not yet in taken. A caption
// that is no identifier (blanks, hyphens, dots, non-ASCII letters) gives "PMSSite" + the
// site's index instead, and a name already taken gets "_2", "_3", ... appended.
std::string SiteComponentName(std::string_view caption, int index,
                              const std::set<std::string>& taken);
