#pragma once

// What the enumeration tests of both systems share.

#include "platform/find_file.h"

#include <map>
#include <string>
#include <vector>

using Strings = std::vector<std::string>;

// Every entry an enumeration yields, as name -> attribute word, and the names in order.
struct TFound {
    Strings Names;
    std::map<std::string, int> Attr;
    int FirstResult = -1;
};

inline TFound Enumerate(const std::string& pattern, int request) {
    TFound found;
    TSearchRec rec;
    found.FirstResult = FindFirst(pattern, request, rec);
    for (int result = found.FirstResult; result == 0; result = FindNext(rec)) {
        found.Names.push_back(rec.Name);
        found.Attr[rec.Name] = rec.Attr();
    }
    FindClose(rec);
    return found;
}
