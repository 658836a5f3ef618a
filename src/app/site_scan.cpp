#include "app/site_scan.h"

#include "files/file_search.h"
#include "platform/narrow_text.h"

#include <algorithm>

namespace {
constexpr FileKinds ScanKinds = FileKinds::ReadOnly + FileKinds::Archive + FileKinds::Plain;
// A box shows this many names; the rest are counted.
constexpr std::size_t LeftOutShown = 10;
} // namespace

void ScanSites(const TStringList& siteDirs, TFileList& files) {
    for (const std::string& dir : siteDirs) {
        SearchFiles(dir, ScanMasks, ScanKinds, files);
    }
}

TLeftOutNotice LeftOutNotice(const std::vector<std::string>& leftOut) {
    TLeftOutNotice notice;
    notice.Message = NarrowText("次の ") + std::to_string(leftOut.size()) +
                     NarrowText(" 件はﾁｪｯｸできないのでﾘｽﾄに入れません。名前にｼｽﾃﾑの文字ｺｰﾄﾞで"
                                "表せない文字があるか、名前がﾃﾞﾊﾞｲｽ名か、ﾊﾟｽが長すぎます:");
    const std::size_t shown = std::min(leftOut.size(), LeftOutShown);
    notice.Lines.assign(leftOut.begin(), leftOut.begin() + static_cast<std::ptrdiff_t>(shown));
    if (leftOut.size() > shown) {
        notice.Lines.push_back("ほか " + std::to_string(leftOut.size() - shown) + " 件");
    }
    return notice;
}
