#include "platform/find_file.h"

#include "platform/file_names.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

bool IsFileOrDir(unsigned char type) {
    return type == DT_REG || type == DT_DIR;
}

bool IsSpecial(unsigned char type) {
    return type == DT_FIFO || type == DT_SOCK || type == DT_CHR || type == DT_BLK;
}

int HiddenAttr(std::string_view name) {
    return (!name.empty() && name[0] == '.' && name != "." && name != "..") ? faHidden : 0;
}

// What the listing alone tells of the attribute word: every bit but faReadOnly for a file or
// directory, everything for a FIFO, socket or device, only faHidden for a link or an entry of
// unknown type.
int ListedAttr(std::string_view name, unsigned char type) {
    int attr = HiddenAttr(name);
    if (type == DT_DIR) {
        attr |= faDirectory;
    } else if (IsSpecial(type)) {
        attr |= faSysFile;
    }
    return attr;
}

// The bits of the word that the listing of an entry of this type tells for certain.
int ListedBits(unsigned char type) {
    constexpr int always = faHidden | faVolumeID | faArchive;
    if (IsFileOrDir(type)) {
        return always | faSysFile | faDirectory;
    }
    if (IsSpecial(type)) {
        return faAnyFile;
    }
    return always;
}

// Looks at the entry at path, relative to the folder dirFd (links followed), and gives its
// whole word and id; hidden is the entry's faHidden bit, which its name decides.
void LookAt(int dirFd, const char* path, unsigned char type, int hidden, int& attr, TFileId& id) {
    struct stat info;
    bool found = ::fstatat(dirFd, path, &info, 0) == 0;
    int kind = faSysFile; // a link that leads nowhere, or an entry that is gone
    if (!found) {
        if (::fstatat(dirFd, path, &info, AT_SYMLINK_NOFOLLOW) == 0) {
            found = !S_ISLNK(info.st_mode); // replaced between the two looks
        } else if (errno != ENOENT && IsFileOrDir(type)) {
            kind = type == DT_DIR ? faDirectory : 0; // may not look: the listing's kind stands
        }
    }
    if (!found) {
        attr = hidden | kind;
        id = {};
        return;
    }
    int readOnly = (info.st_mode & S_IWUSR) ? 0 : faReadOnly;
    if (S_ISDIR(info.st_mode)) {
        attr = hidden | faDirectory | readOnly;
    } else if (S_ISREG(info.st_mode)) {
        attr = hidden | readOnly;
    } else {
        attr = hidden | faSysFile;
    }
    id = S_ISDIR(info.st_mode) || S_ISREG(info.st_mode)
             ? TFileId{static_cast<std::uint64_t>(info.st_dev),
                       static_cast<std::uint64_t>(info.st_ino)}
             : TFileId{};
}

// One name of the directory as read.
struct TListed {
    std::uint32_t NameAt;
    std::uint32_t NameSize;
    unsigned char Type;
};

// One entry of an enumeration: a listed name that matched the pattern and the request.
struct TEntry {
    std::uint32_t NameAt;
    std::uint32_t NameSize;
    unsigned char Type;
    bool Known;
    int Attr;
    TFileId Id;
};

} // namespace

// The directory read once, in sorted order, and the entries of one enumeration of it.
struct TDirReading {
    ~TDirReading() { CloseDir(); }
    void CloseDir() {
        if (Fd >= 0) {
            ::close(Fd);
            Fd = -1;
        }
    }
    std::string_view NameOf(std::uint32_t at, std::uint32_t size) const {
        return std::string_view(Names).substr(at, size);
    }

    int Fd = -1;
    std::string Dir;
    std::string Names; // every listed name, each followed by a NUL
    std::vector<TListed> Listed;
    std::vector<TEntry> Entries;
    std::size_t Next = 0;
};

// One enumeration: the directory part of its pattern, the reading it walks, and its current entry
// with the bits of the attribute word known so far.
struct TFindState {
    // Takes the look at the current entry that completes its word and id.
    void Learn(const std::string& name);

    std::string Dir;
    std::unique_ptr<TDirReading> Reading;
    unsigned char Type = 0; // the listing's entry type (DT_*)
    bool Known = true;      // AttrWord and FileId are complete
    int AttrWord = 0;       // the bits known so far
    TFileId FileId;
};

namespace {

// Reads the directory of state.Dir into state.Listed, sorted by name. 0 or an errno value.
int ReadDir(TDirReading& state) {
    state.Fd =
        ::open(state.Dir.empty() ? "." : state.Dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (state.Fd < 0) {
        return errno;
    }
    alignas(dirent64) char buffer[32768];
    for (;;) {
        ssize_t size = ::getdents64(state.Fd, buffer, sizeof buffer);
        if (size <= 0) {
            break; // the end, or an error that ends the enumeration
        }
        for (ssize_t at = 0; at < size;) {
            const auto* ent = reinterpret_cast<const dirent64*>(buffer + at);
            at += ent->d_reclen;
            std::string_view name(ent->d_name);
            state.Listed.push_back({static_cast<std::uint32_t>(state.Names.size()),
                                    static_cast<std::uint32_t>(name.size()), ent->d_type});
            state.Names.append(name);
            state.Names.push_back('\0');
        }
    }
    std::sort(state.Listed.begin(), state.Listed.end(),
              [&state](const TListed& a, const TListed& b) {
                  return NameBefore(state.NameOf(a.NameAt, a.NameSize),
                                    state.NameOf(b.NameAt, b.NameSize));
              });
    return 0;
}

// Fills state.Entries with the listed names that match the name pattern and the request.
void SelectEntries(TDirReading& state, std::string_view namePattern, int request) {
    // A link or an entry of unknown type must be looked at when the request could exclude it.
    bool lookAtUnknown = (request & (faSysFile | faDirectory)) != (faSysFile | faDirectory);
    for (const TListed& listed : state.Listed) {
        std::string_view name = state.NameOf(listed.NameAt, listed.NameSize);
        if (!MatchesMask(name, namePattern)) {
            continue;
        }
        TEntry entry{
            listed.NameAt, listed.NameSize, listed.Type, true, ListedAttr(name, listed.Type), {}};
        if (!AttrRequested(entry.Attr, request)) {
            continue; // decided by the listing alone
        }
        if (IsSpecial(entry.Type)) {
            // the listing told everything
        } else if (IsFileOrDir(entry.Type) || !lookAtUnknown) {
            entry.Known = false; // looked at when asked for
        } else {
            LookAt(state.Fd, name.data(), entry.Type, HiddenAttr(name), entry.Attr, entry.Id);
            if (!AttrRequested(entry.Attr, request)) {
                continue;
            }
        }
        state.Entries.push_back(entry);
    }
}

} // namespace

TSearchRec::TSearchRec() = default;
TSearchRec::~TSearchRec() = default;
TSearchRec::TSearchRec(TSearchRec&&) noexcept = default;
TSearchRec& TSearchRec::operator=(TSearchRec&&) noexcept = default;

void TFindState::Learn(const std::string& name) {
    if (Reading != nullptr && Reading->Fd >= 0) {
        LookAt(Reading->Fd, name.c_str(), Type, HiddenAttr(name), AttrWord, FileId);
    } else { // after FindClose
        LookAt(AT_FDCWD, (Dir + name).c_str(), Type, HiddenAttr(name), AttrWord, FileId);
    }
    Known = true;
}

int TSearchRec::Attr() const {
    if (State == nullptr) {
        return 0;
    }
    if (!State->Known) {
        State->Learn(Name);
    }
    return State->AttrWord;
}

bool TSearchRec::HasAttr(int bits) const {
    if (State == nullptr) {
        return false;
    }
    if (!State->Known && (State->AttrWord & bits) == 0 && (bits & ~ListedBits(State->Type)) != 0) {
        State->Learn(Name);
    }
    return (State->AttrWord & bits) != 0;
}

TFileId TSearchRec::Id() const {
    if (State == nullptr) {
        return {};
    }
    if (!State->Known) {
        State->Learn(Name);
    }
    return State->FileId;
}

// Names are bytes here: Name is always the entry's own. The system's limit on the length of a
// path is not looked at.
bool TSearchRec::ExactName() const {
    return true;
}

bool TSearchRec::PathFits() const {
    return true;
}

std::string TSearchRec::UnicodePath() const {
    return State == nullptr ? Name : State->Dir + Name;
}

bool CanListFolder(const std::string& dir) {
    int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    ::close(fd);
    return true;
}

int FindFirst(std::string_view pattern, int attr, TSearchRec& rec) {
    std::size_t delim = pattern.rfind(PathDelim);
    std::string_view dir = delim == std::string_view::npos ? "" : pattern.substr(0, delim + 1);
    std::string_view namePattern =
        delim == std::string_view::npos ? pattern : pattern.substr(delim + 1);
    rec.State = std::make_unique<TFindState>();
    rec.State->Dir = dir;
    rec.State->Reading = std::make_unique<TDirReading>();
    TDirReading& state = *rec.State->Reading;
    state.Dir = dir;
    if (int error = ReadDir(state); error != 0) {
        return error;
    }
    SelectEntries(state, namePattern, attr);
    return FindNext(rec);
}

int FindNext(TSearchRec& rec) {
    TDirReading* state = rec.State == nullptr ? nullptr : rec.State->Reading.get();
    if (state == nullptr || state->Next >= state->Entries.size()) {
        return ENOENT;
    }
    const TEntry& entry = state->Entries[state->Next++];
    rec.Name.assign(state->NameOf(entry.NameAt, entry.NameSize));
    rec.State->Type = entry.Type;
    rec.State->Known = entry.Known;
    rec.State->AttrWord = entry.Attr;
    rec.State->FileId = entry.Id;
    return 0;
}

void FindClose(TSearchRec& rec) {
    if (rec.State == nullptr) {
        return;
    }
    rec.State->Reading.reset(); // the current entry stays readable
}
