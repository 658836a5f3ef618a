#pragma once

#include "platform/file_identity.h"
#include "platform/same_file_rule.h"

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

// The file list of the scan: full paths in the order they were first added, each at most once
// by TSameFileRule, and the folders the scan walked. Adding and looking up take constant time on
// average (a hash index beside the ordered list), so filling it with n paths costs O(n).
//
// Reading it in order:
//     for (int i = 0; i < list.Count(); ++i) use(list[i]);
//     for (const std::string& path : list) use(path);
class TFileList {
public:
    TFileList() = default;
    TFileList(const TFileList&) = delete;
    TFileList& operator=(const TFileList&) = delete;

    int Count() const { return static_cast<int>(Paths.size()); }
    // The path at index (0 is the first added). Raises EListError when index names no entry.
    const std::string& operator[](int index) const;
    // The index of the entry that is the same file as path, or -1.
    int IndexOf(std::string_view path) const;
    // Appends path at the end unless the list already holds the same file; true when appended.
    bool Add(std::string path);
    void Clear();

    // Notes, once, an entry that a search found but could not list: a page or a folder (its
    // path ending in the separator) that the program cannot name (see TSearchRec::ExactName
    // and PathFits), by its full path in UTF-8.
    void LeaveOut(std::string unicodePath);
    // The entries left out, in the order first noted.
    const std::vector<std::string>& LeftOut() const { return LeftOutPaths; }

    // Notes a folder that a search walked, by its identity, with the folder where that search
    // began; a folder walked again keeps the first.
    void NoteFolder(const TFileId& id, const std::string& searchRoot);
    // Where the search began that walked the folder id, however that folder is named now;
    // nullptr when no search walked it.
    const std::string* SearchRootOf(const TFileId& id) const;

    auto begin() const { return Paths.begin(); }
    auto end() const { return Paths.end(); }

private:
    struct THash {
        std::size_t operator()(std::string_view path) const { return TSameFileRule::Hash(path); }
    };
    struct TEqual {
        bool operator()(std::string_view a, std::string_view b) const {
            return TSameFileRule::Equal(a, b);
        }
    };

    // A deque keeps its entries in place as it grows, so the index may view them.
    std::deque<std::string> Paths;
    std::unordered_map<std::string_view, int, THash, TEqual> Index; // path -> its index
    std::vector<std::string> LeftOutPaths;
    std::unordered_set<std::string> LeftOutIndex;

    struct TIdHash {
        std::size_t operator()(const TFileId& id) const {
            return std::hash<std::uint64_t>()(id.Inode ^ (id.Device << 32) ^ (id.Device >> 32));
        }
    };
    // The roots of the searches, each once in a row; id -> the index of its search's root.
    std::vector<std::string> SearchRoots;
    std::unordered_map<TFileId, std::size_t, TIdHash> Folders;
};
