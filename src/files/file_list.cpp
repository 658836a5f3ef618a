#include "files/file_list.h"

#include "platform/exceptions.h"

const std::string& TFileList::operator[](int index) const {
    if (index < 0 || index >= Count()) {
        throw EListError::IndexError(index);
    }
    return Paths[static_cast<std::size_t>(index)];
}

int TFileList::IndexOf(std::string_view path) const {
    auto found = Index.find(path);
    return found == Index.end() ? -1 : found->second;
}

bool TFileList::Add(std::string path) {
    if (Index.find(path) != Index.end()) {
        return false;
    }
    int index = Count();
    Paths.push_back(std::move(path));
    try {
        Index.emplace(Paths.back(), index);
    } catch (...) {
        Paths.pop_back();
        throw;
    }
    return true;
}

void TFileList::Clear() {
    Index.clear();
    Paths.clear();
    LeftOutIndex.clear();
    LeftOutPaths.clear();
    Folders.clear();
    SearchRoots.clear();
}

void TFileList::LeaveOut(std::string unicodePath) {
    if (LeftOutIndex.insert(unicodePath).second) {
        LeftOutPaths.push_back(std::move(unicodePath));
    }
}

void TFileList::NoteFolder(const TFileId& id, const std::string& searchRoot) {
    // A search notes all its folders in a row: its root is kept once, not with each of them.
    if (SearchRoots.empty() || SearchRoots.back() != searchRoot) {
        SearchRoots.push_back(searchRoot);
    }
    Folders.try_emplace(id, SearchRoots.size() - 1);
}

const std::string* TFileList::SearchRootOf(const TFileId& id) const {
    auto found = Folders.find(id);
    return found == Folders.end() ? nullptr : &SearchRoots[found->second];
}
