#include "files/file_search.h"

#include "platform/file_names.h"

#include <deque>
#include <functional>
#include <unordered_set>
#include <vector>

namespace {

// What the walk found for one mask after the first, kept until the walk ends: it comes after
// everything of the masks before it. Deques, so that the memory of what has been handed to the
// list goes at once and the scan's peak stays that of the list alone.
struct TLaterFinds {
    std::deque<std::string> Pages;
    std::deque<std::string> LeftOut;
};

// One walk of a tree for several name patterns. The first pattern's finds go to the list at
// once, the others' wait in Later, so that the list is filled as by one walk per pattern.
class TWalk {
public:
    TWalk(std::string root, std::vector<std::string> namePatterns, FileKinds kinds, TFileList& list)
        : Root(std::move(root)), NamePatterns(std::move(namePatterns)), Kinds(kinds), List(list),
          Later(NamePatterns.size() - 1) {}

    void Run() {
        if (TFileId id; GetFileId(Root, id)) {
            Enter(id);
        }
        Search(Root);
        for (TLaterFinds& finds : Later) {
            for (; !finds.Pages.empty(); finds.Pages.pop_front()) {
                List.Add(std::move(finds.Pages.front()));
            }
            for (; !finds.LeftOut.empty(); finds.LeftOut.pop_front()) {
                List.LeaveOut(std::move(finds.LeftOut.front()));
            }
        }
    }

private:
    struct TSubdir {
        std::string Path; // ending in the separator
        TFileId Id;
    };

    // The search below one directory, ending in the separator (empty for the working folder).
    void Search(const std::string& dir) {
        std::vector<TSubdir> subdirs;
        std::vector<std::string> leftOutDirs;
        TSearchRec rec;
        for (int found = FindFirst(dir + "*.*", faAnyFile, rec); found == 0;
             found = FindNext(rec)) {
            if (!rec.HasAttr(faDirectory)) {
                TakeFile(dir, rec);
            } else if (rec.Name != "." && rec.Name != ".." &&
                       !rec.HasAttr(faHidden | faSysFile | faVolumeID)) {
                if (rec.ExactName()) {
                    subdirs.push_back({dir + rec.Name + PathDelim, rec.Id()});
                } else {
                    leftOutDirs.push_back(rec.UnicodePath() + PathDelim);
                }
            }
        }
        FindClose(rec);
        // A walk per pattern would note a folder it cannot search after the directory's files.
        for (std::string& path : leftOutDirs) {
            List.LeaveOut(std::move(path));
        }
        for (const TSubdir& subdir : subdirs) {
            // A second way to a folder (a link, a link back up the tree) would list its pages
            // again under other names, or without end.
            if (subdir.Id == TFileId{} || Enter(subdir.Id)) {
                Search(subdir.Path);
            }
        }
    }

    // Notes a folder about to be walked; false when this walk has walked it before.
    bool Enter(const TFileId& id) {
        if (!Walked.insert(id).second) {
            return false;
        }
        List.NoteFolder(id, Root);
        return true;
    }

    void TakeFile(const std::string& dir, const TSearchRec& rec) {
        bool accepted = false;
        bool looked = false; // the attribute word may cost a look at the entry: once, if at all
        for (std::size_t i = 0; i < NamePatterns.size(); ++i) {
            if (!MatchesMask(rec.Name, NamePatterns[i])) {
                continue;
            }
            if (!looked) {
                accepted = AttrAccepted(Kinds, rec.Attr());
                looked = true;
            }
            if (!accepted) {
                return;
            }
            const bool nameable = rec.ExactName() && rec.PathFits();
            if (i > 0 && nameable) {
                Later[i - 1].Pages.push_back(dir + rec.Name);
            } else if (i > 0) {
                Later[i - 1].LeftOut.push_back(rec.UnicodePath());
            } else if (nameable) {
                List.Add(dir + rec.Name);
            } else {
                List.LeaveOut(rec.UnicodePath());
            }
        }
    }

    const std::string Root;
    const std::vector<std::string> NamePatterns;
    const FileKinds Kinds;
    TFileList& List;
    std::vector<TLaterFinds> Later; // one for each pattern after the first
    struct TIdHash {
        std::size_t operator()(const TFileId& id) const {
            return std::hash<std::uint64_t>()(id.Inode ^ (id.Device << 32) ^ (id.Device >> 32));
        }
    };
    std::unordered_set<TFileId, TIdHash> Walked;
};

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

void SearchFiles(const std::string& base, std::span<const std::string_view> patterns,
                 FileKinds kinds, TFileList& list) {
    if (patterns.empty()) {
        return;
    }
    std::string root = ExtractFilePath(base);
    // What base holds after its directory part begins every name.
    const std::string_view namePrefix = std::string_view(base).substr(root.size());
    std::vector<std::string> namePatterns;
    for (std::string_view pattern : patterns) {
        namePatterns.push_back(std::string(namePrefix) + std::string(pattern));
    }
    TWalk(std::move(root), std::move(namePatterns), kinds, list).Run();
}

void SearchFiles(const std::string& mask, FileKinds kinds, TFileList& list) {
    // The whole mask is the base: its name part begins every name, and nothing follows it.
    const std::string_view nothingMore[] = {""};
    SearchFiles(mask, nothingMore, kinds, list);
}
