#include "app/site_scan.h"

#include "files/file_search.h"

namespace {
// Read-only, archive and attribute-free files.
constexpr FileKinds ScanKinds = 25;
} // namespace

void ScanSites(const TStringList& siteDirs, TFileList& files) {
    for (const std::string& dir : siteDirs) {
        SearchFiles(dir + "*.html", ScanKinds, files);
        SearchFiles(dir + "*.htm", ScanKinds, files);
    }
}
