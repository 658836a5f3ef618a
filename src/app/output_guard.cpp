#include "app/output_guard.h"

#include "app/site_scan.h"
#include "platform/file_identity.h"
#include "platform/file_io.h"
#include "platform/file_names.h"
#include "platform/find_file.h"
#include "platform/narrow_text.h"

#include <algorithm>

namespace {

bool ScanTakesName(const std::string& name) {
    return std::any_of(ScanMasks.begin(), ScanMasks.end(),
                       [&](std::string_view mask) { return MatchesMask(name, mask); });
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

// Where the search began that walked the folder of path, if path has a name the scan takes:
// that folder by its identity, however path names it (a link to it, a second mount).
std::optional<std::string> SearchWalking(const std::string& path, const TFileList& pages) {
    TFileId folder;
    if (!ScanTakesName(ExtractFileName(path)) || !GetFileId(ExtractFilePath(path), folder)) {
        return std::nullopt;
    }
    const std::string* root = pages.SearchRootOf(folder);
    return root == nullptr ? std::nullopt : std::optional(*root);
}

// The first of files that is the file of identity.
template <typename TFiles>
const std::string* SameFileIn(const TFileIdentity& identity, const TFiles& files) {
    for (const std::string& file : files) {
        if (identity.SameFile(file)) {
            return &file;
        }
    }
    return nullptr;
}

} // namespace

std::optional<std::string> OutputFileRefusal(const std::string& outputFile,
                                             const TStringList& siteDirs, const TFileList& pages,
                                             const std::vector<std::string>& ownFiles) {
    if (outputFile.empty()) {
        return std::nullopt;
    }
    const std::string path = FullPath(outputFile);
    if (FileTypeOf(path) == TFileType::Other) {
        return NarrowText("出力ﾌｧｲﾙが通常のﾌｧｲﾙではないので使いません: ") + outputFile;
    }
    if (const TFileIdentity identity(path); identity.Known()) {
        const std::string* same = SameFileIn(identity, ownFiles);
        if (same == nullptr) {
            same = SameFileIn(identity, pages);
        }
        if (same != nullptr) {
            return NarrowText("出力ﾌｧｲﾙが ") + *same + NarrowText(" と同じﾌｧｲﾙなので使いません: ") +
                   outputFile;
        }
    }
    const std::string target = LinkTarget(path);
    for (const std::string& name : {path, target}) {
        std::optional<std::string> site = SiteListing(name, siteDirs);
        if (!site) {
            site = SearchWalking(name, pages);
        }
        if (site) {
            return NarrowText("出力ﾌｧｲﾙがｻｲﾄ ") + *site +
                   NarrowText(" のHTMLﾌｧｲﾙなので使いません: ") + name;
        }
    }
    return std::nullopt;
}

std::optional<TFileId> ReplacementApproval(const std::string& outputFile, const TFileId& folder,
                                           const TStringList& siteDirs, const TFileList& pages,
                                           const std::vector<std::string>& ownFiles) {
    const std::optional<TFileId> id = FileIdAt(outputFile);
    if (!id || FileTypeOf(outputFile) != TFileType::Regular ||
        FileIdAt(ExtractFilePath(FullPath(outputFile))) != folder ||
        OutputFileRefusal(outputFile, siteDirs, pages, ownFiles) ||
        !TFile::OpenUpdate(outputFile, *id)) {
        return std::nullopt;
    }
    return id;
}
