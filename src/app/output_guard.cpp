#include "app/output_guard.h"

#include "platform/file_identity.h"
#include "platform/file_names.h"
#include "platform/find_file.h"

namespace {

bool ScanTakesName(const std::string& name) {
    return MatchesMask(name, "*.html") || MatchesMask(name, "*.htm");
}

// The site whose search would list path, if any.
std::optional<std::string> SiteListing(const std::string& path, const TStringList& siteDirs) {
    if (!ScanTakesName(ExtractFileName(path))) {
        return std::nullopt;
    }
    for (const std::string& site : siteDirs) {
        // The folder the scan's masks search: the site's, or the one above it when the site is
        // written without its final separator.
        if (IsWithinFolder(ExtractFilePath(path), ExtractFilePath(site))) {
            return site;
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<std::string> OutputFileRefusal(const std::string& outputFile,
                                             const TStringList& siteDirs,
                                             const std::vector<std::string>& ownFiles) {
    for (const std::string& own : ownFiles) {
        if (SameFile(outputFile, own)) {
            return "出力ﾌｧｲﾙが " + own + " と同じﾌｧｲﾙなので使いません: " + outputFile;
        }
    }
    const std::string target = LinkTarget(outputFile);
    for (const std::string& path : {outputFile, target}) {
        if (std::optional<std::string> site = SiteListing(path, siteDirs)) {
            return "出力ﾌｧｲﾙがｻｲﾄ " + *site + " のHTMLﾌｧｲﾙなので使いません: " + path;
        }
    }
    if (FileTypeOf(outputFile) == TFileType::Other) {
        return "出力ﾌｧｲﾙが通常のﾌｧｲﾙではないので使いません: " + outputFile;
    }
    return std::nullopt;
}
