#pragma once

#include "app/run_journal.h"
#include "files/content_hash.h"
#include "platform/file_identity.h"
#include "platform/file_io.h"
#include "settings/sites_and_program.h"

#include <cstddef>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

// The record of every page's last check, beside the output file: what the page was when it was
// checked and the settings it was checked under, so that the pages changed since can be chosen
// and the rest left alone.
//
// The file is a record file (record_file.h) named "checks" whose records are all "page":
// finished (seconds since 1970), path, size, modified time, content hash (16 hex digits),
// checker, OpenParen, CloseParen. A later record of a path takes the place of an earlier one.

// The record's name for an output file: the output file's name + ".checks".
std::string CheckRecordPathFor(const std::string& outputFile);

// A page's last check.
struct TCheckedPage {
    TFileFingerprint Fingerprint;
    std::string Checker;
    std::string OpenParen;
    std::string CloseParen;
};

// The record as it was read.
struct TCheckRecord {
    std::unordered_map<std::string, TCheckedPage> Pages;
    // Where a record that could not be trusted whole (not ours, of a later version, damaged or
    // cut off) was set aside; it then counts as empty.
    std::string SetAside;
    // The file that was read, nothing when there was none, and how many records it held.
    std::optional<TFileId> Id;
    std::size_t Records = 0;
};

// Reads the record at path. Raises EInOutError when one that cannot be trusted cannot be set
// aside either.
TCheckRecord LoadCheckRecord(const std::string& path);

// Whether the page at path has changed since its record: it has none, was checked under another
// checker or other brackets, or its content differs. Size and modification time are compared
// first; where they differ but the size does not, the content's hash decides, so that a page
// rewritten with the same bytes counts as unchanged.
bool PageChanged(const TCheckRecord& record, const std::string& path,
                 const TProgramSettings& settings);

// Which of pages have changed since their last check under settings, by the record beside the
// output file; every page without an output file or a record. A record that had to be set aside
// is named in setAside. Raises EInOutError when it could not be set aside.
std::vector<char> ChangedPages(const std::vector<std::string>& pages,
                               const TProgramSettings& settings, std::string& setAside);

// Appends each finished page's check to the record. Opening it compacts a record that has grown
// to many times its pages, and begins a new one where there was none.
class TCheckRecordWriter {
public:
    // Raises EInOutError; nothing when path no longer leads to the file that was read.
    static std::optional<TCheckRecordWriter> Open(const std::string& path,
                                                  const TCheckRecord& record);

    // Raises EInOutError, leaving the record as it was.
    void Add(const TJournalPage& page);
    void Sync() { File.Sync(); }

private:
    TCheckRecordWriter(TFile file, std::uint64_t end) : File(std::move(file)), End(end) {}

    TFile File;
    std::uint64_t End;
};
