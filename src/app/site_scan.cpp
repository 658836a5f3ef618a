#include "app/site_scan.h"

#include "files/file_search.h"

namespace {
constexpr FileKinds ScanKinds = FileKinds::ReadOnly + FileKinds::Archive + FileKinds::Plain;
} // namespace

void ScanSites(const TStringList& siteDirs, TFileList& files) {
    for (const std::string& dir : siteDirs) {
        for (std::string_view mask : ScanMasks) {
            SearchFiles(dir + std::string(mask), ScanKinds, files);
        }
    }
}
