#include "files/file_search.h"

#include "platform/file_names.h"

#include <algorithm>

namespace {

// The search below one directory. descent holds the ids of the directories from the root of
// the search, root, down to this one.
void Search(const std::string& mask, const std::string& namePart, const std::string& root,
            FileKinds kinds, TFileList& list, const TSearchProgress& progress,
            std::vector<TFileId>& descent) {
    if (progress) {
        progress(mask);
    }
    TSubdirList subdirs;
    CollectFiles(mask, kinds, list);
    ListSubdirs(mask, subdirs, list);
    std::size_t count = subdirs.size();
    for (std::size_t i = 0; i < count; ++i) {
        const TSubdir& subdir = subdirs[i];
        if (subdir.Id != TFileId{} &&
            std::find(descent.begin(), descent.end(), subdir.Id) != descent.end()) {
            continue; // a way back up the tree
        }
        if (subdir.Id != TFileId{}) {
            list.NoteFolder(subdir.Id, root);
        }
        descent.push_back(subdir.Id);
        Search(subdir.Path + namePart, namePart, root, kinds, list, progress, descent);
        descent.pop_back();
    }
}

} // namespace

bool AttrAccepted(FileKinds kinds, int attr) {
    if (attr & (faVolumeID | faDirectory)) {
        return false;
    }
    return (kinds.Has(FileKinds::ReadOnly) && (attr & faReadOnly)) ||
           (kinds.Has(FileKinds::Hidden) && (attr & faHidden)) ||
           (kinds.Has(FileKinds::System) && (attr & faSysFile)) ||
           (kinds.Has(FileKinds::Archive) && (attr & faArchive)) ||
           (kinds.Has(FileKinds::Plain) && (attr & faAnyFile) == 0);
}

void CollectFiles(const std::string& mask, FileKinds kinds, TFileList& list) {
    std::string dir = ExtractFilePath(mask);
    TSearchRec rec;
    for (int found = FindFirst(mask, faAnyFile, rec); found == 0; found = FindNext(rec)) {
        if (!AttrAccepted(kinds, rec.Attr())) {
            continue;
        }
        if (rec.ExactName() && rec.PathFits()) {
            list.Add(dir + rec.Name);
        } else {
            list.LeaveOut(rec.UnicodePath());
        }
    }
    FindClose(rec);
}

void ListSubdirs(const std::string& mask, TSubdirList& dirs, TFileList& list) {
    std::string dir = ExtractFilePath(mask);
    TSearchRec rec;
    for (int found = FindFirst(dir + "*.*", faDirectory, rec); found == 0; found = FindNext(rec)) {
        if (rec.Name == "." || rec.Name == ".." || !rec.HasAttr(faDirectory)) {
            continue;
        }
        if (rec.ExactName()) {
            dirs.push_back({dir + rec.Name + PathDelim, rec.Id()});
        } else {
            list.LeaveOut(rec.UnicodePath() + PathDelim);
        }
    }
    FindClose(rec);
}

void SearchFiles(const std::string& mask, FileKinds kinds, TFileList& list,
                 const TSearchProgress& progress) {
    // CollectFiles and ListSubdirs read each directory right after one another, with nothing
    // in between (the callback comes before both): one reading serves the two.
    TFindSession session;
    std::vector<TFileId> descent;
    const std::string root = ExtractFilePath(mask);
    if (TFileId id; GetFileId(root, id)) {
        list.NoteFolder(id, root);
        descent.push_back(id);
    }
    Search(mask, ExtractFileName(mask), root, kinds, list, progress, descent);
}
