#pragma once

#include "platform/file_identity.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// An open file. Every failing operation raises EInOutError with the OS error code; the
// destructor closes a file that is still open and ignores the result.
class TFile {
public:
    // Opens an existing file for reading only, so read-only files can be read.
    static TFile OpenRead(const std::string& path);
    // Opens a regular file (links followed) for reading; nothing when path names no regular
    // file. The open never waits: a FIFO is not held open waiting for a writer, nor a device
    // opened as one would use it.
    static std::optional<TFile> OpenRegular(const std::string& path);
    // Creates a file for writing, emptying an existing file of that name. A file that has other
    // names too (hard links) is refused and left as it is: emptying it would empty it under
    // every name.
    static TFile Create(const std::string& path);
    // Opens the file at path (links followed) for writing and empties it, but only when it is
    // the file id: what was opened is compared (device and inode; on Windows the volume's serial
    // number and the file's index) before anything of it is cut. Nothing is created. Gives
    // nothing when path leads to another file or to none; a file with other names is refused as
    // by Create.
    static std::optional<TFile> Rewrite(const std::string& path, const TFileId& id);
    // Creates a new, uniquely named file in the folder of path with the permissions that the
    // file at path has (or a new file would get). Gives nothing when the folder refuses.
    static std::optional<TFile> CreateTempBeside(const std::string& path);
    // Creates a new file at path for reading and writing; nothing when a file, folder or link of
    // that name exists already. Raises EInOutError when the folder refuses.
    static std::optional<TFile> CreateNew(const std::string& path);
    // Opens the file at path for reading and writing without changing it, but only when it is
    // the file id and has no other name; nothing otherwise.
    static std::optional<TFile> OpenUpdate(const std::string& path, const TFileId& id);

    TFile(TFile&& other) noexcept;
    TFile& operator=(TFile&& other) noexcept;
    TFile(const TFile&) = delete;
    TFile& operator=(const TFile&) = delete;
    ~TFile();

    const std::string& Path() const { return FilePath; }
    // What was opened, whatever has become of its name since.
    TFileId Id() const;
    std::uint64_t Size() const;
    // When the file was last written, in the system's own units (nanoseconds on Linux, 100 ns
    // on Windows): good for telling whether it changed, not for showing.
    std::int64_t ModifiedTime() const;
    // Moves the position that the next read or write starts at.
    void Seek(std::uint64_t offset);
    // Cuts the file off at size.
    void Truncate(std::uint64_t size);
    // Reads exactly count bytes; fewer counts as a failure.
    std::string ReadExactly(std::uint64_t count);
    // Writes all bytes; fewer counts as a failure.
    void WriteAll(std::string_view bytes);
    // Forces the written bytes to the storage device.
    void Sync();
    void Close();

private:
    TFile(std::intptr_t descriptor, std::string path)
        : Descriptor(descriptor), FilePath(std::move(path)) {}
    // Closes an open descriptor and ignores the result.
    static void Release(std::intptr_t descriptor) noexcept;

    // The system's own descriptor of the open file: a file descriptor on Linux, the value of a
    // HANDLE on Windows; -1 when closed.
    std::intptr_t Descriptor = -1;
    std::string FilePath;
};

// The size and modification time (as TFile::ModifiedTime tells it) of the regular file at path,
// links followed, told without opening it: one system call where opening takes several. Nothing
// for anything else, or where they cannot be told so (on Windows a link).
struct TFileStamp {
    std::uint64_t Size = 0;
    std::int64_t ModifiedTime = 0;
};
std::optional<TFileStamp> StampOf(const std::string& path);

// The whole content of a file. Raises EInOutError.
std::string ReadFileBytes(const std::string& path);
// Makes the file at path hold exactly bytes, written in place; never a file that has other
// names too. Raises EInOutError.
void WriteFileBytes(const std::string& path, std::string_view bytes);
