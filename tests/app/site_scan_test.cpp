#include "app/site_scan.h"
#include "files/file_search.h"
#include "platform/file_names.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

Strings Items(const TFileList& list) {
    return Strings(list.begin(), list.end());
}

// path with the tests' "/" written as the system's separator.
std::string Native(std::string path) {
    for (char& c : path) {
        c = c == '/' ? PathDelim : c;
    }
    return path;
}

// Where the search began that walked the folder at path, or "-" when none did.
std::string SearchRoot(const TFileList& list, const std::string& path) {
    TFileId id;
    const std::string* root = GetFileId(path, id) ? list.SearchRootOf(id) : nullptr;
    return root == nullptr ? "-" : *root;
}

// Both kinds of page at every depth, with a site inside another written without its final
// separator, and a read-only and a hidden page. The scan walks each site once; the list must
// be the one that a walk per mask, "*.html" then "*.htm", gives with the kinds 25, and the
// folders walked must be noted alike.
TEST(ScanSites, OneWalkPerSiteListsWhatAWalkPerMaskLists) {
    TTempDir dir;
    for (const char* name :
         {"web/b.htm", "web/a.html", "web/c.HTML", "web/sub/d.htm", "web/sub/e.html",
          "web/sub/subpage.htm", "web/sub/deep/f.htm", "web/sub/deep/g.html", "web/sub2/h.htm",
          "web/sub2/x.txt", "web/sub2.html", "web/subtle/i.html", "web/subtle/j.htm",
          "web/subtle/sub.html", "web/readonly.htm", "web/.hidden.html", "other/k.htm",
          "other/in/l.html", "other/in/m.htm"}) {
        dir.Write(name, "");
    }
    const std::string readOnly = Native(dir.Path() + "web/readonly.htm");
    fs::permissions(readOnly, fs::perms::owner_read);
    TStringList sites;
    for (const char* site : {"web/sub", "web/", "other/"}) {
        sites.Add(Native(dir.Path() + site));
    }

    TFileList oneWalk;
    ScanSites(sites, oneWalk);
    TFileList walkPerMask;
    for (const std::string& site : sites) {
        SearchFiles(site + "*.html", 25, walkPerMask);
        SearchFiles(site + "*.htm", 25, walkPerMask);
    }
    fs::permissions(readOnly, fs::perms::owner_all);

    EXPECT_EQ(Items(oneWalk), Items(walkPerMask));
    EXPECT_EQ(oneWalk.Count(), NativeIsWindows ? 18 : 17);
    for (const char* folder : {"", "web/", "web/sub/", "web/sub/deep/", "web/subtle/", "other/"}) {
        const std::string path = Native(dir.Path() + folder);
        EXPECT_EQ(SearchRoot(oneWalk, path), SearchRoot(walkPerMask, path)) << folder;
    }
    // Each folder keeps its own site's root, which the output file's rule names.
    EXPECT_EQ(SearchRoot(oneWalk, Native(dir.Path() + "web/sub/deep/")),
              Native(dir.Path() + "web/"));
    EXPECT_EQ(SearchRoot(oneWalk, Native(dir.Path() + "other/in/")), Native(dir.Path() + "other/"));
    // On Linux the read-only page is listed by its kind and the hidden one is not. Under Wine
    // every file carries the archive mark, which the scan takes whatever else a file is: there
    // both are listed, and the kinds cannot be told apart.
    EXPECT_NE(oneWalk.IndexOf(readOnly), -1);
    EXPECT_EQ(oneWalk.IndexOf(Native(dir.Path() + "web/.hidden.html")) != -1, NativeIsWindows);
}

} // namespace
