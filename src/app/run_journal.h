#pragma once

#include "app/record_file.h"
#include "files/content_hash.h"
#include "platform/file_io.h"

#include <chrono>
#include <memory>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The journal of a run, beside the output file: every finished page's section reaches the disk
// before the next page begins, so that whatever ends the program, the run's work is kept and
// can be continued at the next start.
//
// The file is a record file (record_file.h) named "journal", with four kinds of record:
//
//   run   started (seconds since 1970), sites (each followed by a NUL), checker, output file,
//         OpenParen, CloseParen, then the path of every page that was checked when the run
//         started
//   plan  time, "+" or "-", path: a page that the user checked or unchecked during the run
//   page  finished (seconds), path, size, modified time, content hash (16 hex digits), checker,
//         OpenParen, CloseParen, section: the page's bytes of the combined report
//   end   finished (seconds): the combined report was saved

// What a run was checked under: a journal is continued only under the same.
struct TRunSettings {
    std::string Sites; // each site followed by a NUL
    std::string Checker;
    std::string OutputFile;
    std::string OpenParen;
    std::string CloseParen;
    bool operator==(const TRunSettings&) const = default;
};

// A finished page as the journal tells it.
struct TJournalPage {
    std::int64_t Finished = 0;
    std::string Path;
    std::optional<TFileFingerprint> Fingerprint; // nothing when the page could not be read
    std::string Checker;
    std::string OpenParen;
    std::string CloseParen;
};

// What a journal holds, read without trusting a byte of it.
struct TJournalContent {
    enum TState {
        Usable,  // whole records, perhaps followed by a record cut off by the end of the file
        Foreign, // not a journal of this program
        Newer,   // a journal of a later version of this program
        Damaged, // a record that is neither whole nor cut off by the end
    };
    TState State = Usable;
    // Where the whole records end: a continued run appends from here.
    std::uint64_t WholeLength = 0;
    bool HasRun = false;
    TRunSettings Settings;
    std::int64_t Started = 0;
    // The pages that the run was to check, in the order that they were first named, and which
    // of them still were when the journal ended.
    std::vector<std::string> Planned;
    std::vector<bool> StillPlanned;
    std::vector<TJournalPage> Finished;
    bool Ended = false;
    // The time of the last record: when the run stopped.
    std::int64_t LastTime = 0;

    // The planned pages that have not finished, in order.
    std::vector<std::string> Pending() const;
};

using TJournalBytes = TRecordBytes;

// Reads a journal of size bytes. sections, if given, receives every finished page's section,
// in order, one at a time.
TJournalContent ReadJournal(const TJournalBytes& bytes, std::uint64_t size,
                            const std::function<void(std::string_view section)>& sections = {});

// The journal's name for an output file: the output file's name + ".part".
std::string JournalPathFor(const std::string& outputFile);

// A journal open for appending. Each record is handed to the system as it is made, so that a
// crash of the program loses nothing. A thread of the journal's own forces it to the disk at
// most SyncInterval after a record was written, and Sync does at once, so that a power cut loses
// at most the last seconds, while neither a fast checker waits for the disk after every page nor
// a slow one leaves the page before it unsynced while it runs.
class TRunJournal {
public:
    static constexpr std::chrono::seconds SyncInterval{2};

    TRunJournal(TRunJournal&&) noexcept;
    TRunJournal& operator=(TRunJournal&&) noexcept;
    ~TRunJournal();

    // Begins a new journal at path, which must not exist. Raises EInOutError.
    static TRunJournal Create(const std::string& path);
    // Goes on with the journal at path, read as content, when path still leads to the file id:
    // a record cut off at its end is dropped. Nothing when path leads elsewhere.
    static std::optional<TRunJournal> Continue(const std::string& path, const TFileId& id,
                                               const TJournalContent& content);

    // The records. Each raises EInOutError, leaving the journal as it was.
    void AppendRun(std::int64_t started, const TRunSettings& settings,
                   const std::vector<std::string>& pages);
    void AppendPlan(const std::string& page, bool checked);
    void AppendPage(const TJournalPage& page, std::string_view section);
    void AppendEnd(std::int64_t finished);

    // Forces what was written to the disk. Raises EInOutError.
    void Sync();
    // Every finished page's section, in order, one at a time.
    void ForEachSection(const std::function<void(std::string_view section)>& take);
    // Removes the journal's file, provided that its name still leads to it.
    void Remove();

    const std::string& Path() const;

private:
    struct TState; // the file and the thread that syncs it, where a move leaves them

    explicit TRunJournal(TFile file, std::uint64_t end);
    void Append(std::string_view kind, const std::string& payload);

    std::unique_ptr<TState> State;
    std::uint64_t End;
};
