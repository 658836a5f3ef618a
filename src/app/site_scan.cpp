#include "app/site_scan.h"

#include "files/file_search.h"

namespace {
constexpr FileKinds ScanKinds = FileKinds::ReadOnly + FileKinds::Archive + FileKinds::Plain;
} // namespace

void ScanSites(const TStringList& siteDirs, TFileList& files) {
    for (const std::string& dir : siteDirs) {
        SearchFiles(dir + "*.html", ScanKinds, files);
        SearchFiles(dir + "*.htm", ScanKinds, files);
    }
}
