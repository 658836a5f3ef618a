#pragma once

#include <string>
#include <string_view>

// The leading part of path up to and including the last "/" that stands before its final
// character; empty when there is none. "/web/shop/" and "/web/shop" give "/web/"; "/", "shop/"
// and "" give "". The site menu derives a site's caption from it.
std::string ParentDir(std::string_view path);
