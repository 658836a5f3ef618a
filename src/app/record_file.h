#pragma once

#include "platform/file_io.h"

#include <charconv>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// The frame that the program's own data files share (the run's journal, the record of checked
// pages): a first line naming the file and its version, then records that each carry a check of
// their own, so that a reader tells a record cut off by the end of the file from a damaged one
// and trusts no byte it has not checked. All numbers are decimal ASCII:
//
//   "allcheck " NAME " 1\n"
//   then records: KIND " " LENGTH " " CHECK " " LINECHECK "\n" PAYLOAD "\n"
//
// KIND is a word of lower-case letters. PAYLOAD is LENGTH bytes of fields, each
// LENGTH ":" BYTES "\n", so that any byte, NUL included, is safe in a field. CHECK is
// ContentHash(KIND " " PAYLOAD) in 16 hex digits, LINECHECK the low 32 bits of
// ContentHash(KIND " " LENGTH " " CHECK) in 8.

// The first line of a file named name.
std::string RecordFileHead(std::string_view name);

// One record, ready to be appended.
std::string FormatRecord(std::string_view kind, std::string_view payload);

// Writes record at end of file, whole or not at all: whatever part of it was written is cut off
// again before the failure goes on, so that the next record follows the whole ones. Gives the
// new end. Raises EInOutError.
std::uint64_t AppendRecord(TFile& file, std::uint64_t end, std::string_view record);

// Appends one field to a payload.
void AddField(std::string& payload, std::string_view field);

// value in digits hex digits, zeros first.
std::string Hex(std::uint64_t value, int digits);

template <typename TNumber>
std::optional<TNumber> NumberOf(std::string_view text, int base = 10) {
    TNumber value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

// The fields of a payload, one after another; nothing once they end or are malformed.
class TFields {
public:
    explicit TFields(std::string_view payload) : Rest(payload) {}

    std::optional<std::string_view> Next();
    bool AtEnd() const { return Rest.empty(); }
    // Fills every one of into, in order: false when a field is missing.
    bool Take(std::initializer_list<std::string_view*> into);

private:
    std::string_view Rest;
};

// Reads count bytes at offset, or fewer where the file ends.
using TRecordBytes = std::function<std::string(std::uint64_t offset, std::size_t count)>;

// The bytes of an open file, for a reader.
TRecordBytes BytesOf(TFile& file);

// What a reader made of a file.
struct TRecordFileRead {
    enum TState {
        Usable,  // whole records, perhaps followed by one cut off by the end of the file
        Foreign, // not a file of this name of this program
        Newer,   // a file of a later version of this program
        Damaged, // a record that is neither whole nor cut off by the end, or one refused
    };
    TState State = Usable;
    // Where the whole records end: a writer that goes on appends from here.
    std::uint64_t WholeLength = 0;
    // Whether a record, or the first line, was cut off by the end of the file.
    bool Cut = false;
};

// Hands every whole record of the file named name, of size bytes, to take, which refuses one
// it does not expect by returning false.
TRecordFileRead
ReadRecordFile(const TRecordBytes& bytes, std::uint64_t size, std::string_view name,
               const std::function<bool(std::string_view kind, std::string_view payload)>& take);

// Moves a data file that cannot be read out of the way, to path + ".damaged", numbered when
// taken; gives the new name. Raises EInOutError.
std::string SetAsideDamaged(const std::string& path);
