#pragma once

#include "platform/path_style.h"

#include <string>
#include <string_view>

// The leading part of path up to and including the last separator that stands before its final
// character; empty when there is none. "/web/shop/" and "/web/shop" give "/web/"; "/", "shop/"
// and "" give "". On Windows "/" separates as "\" does, and the final character and the
// separators are whole characters of the code page. The site menu derives a site's caption from
// it.
std::string ParentDir(std::string_view path, TPathStyle style = TPathStyle::Native);
