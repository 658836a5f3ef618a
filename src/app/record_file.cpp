#include "app/record_file.h"

#include "files/content_hash.h"
#include "platform/exceptions.h"
#include "platform/file_identity.h"
#include "platform/file_names.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr std::string_view Stem = "allcheck ";
constexpr std::string_view Version = " 1\n";
// Longer than any record's line: KIND, LENGTH (at most 19 digits), CHECK and LINECHECK.
constexpr std::size_t MaxLine = 64;

std::uint32_t LineCheck(std::string_view line) {
    return static_cast<std::uint32_t>(ContentHash(line));
}

bool IsKind(std::string_view kind) {
    return !kind.empty() && kind.size() <= 16 &&
           std::all_of(kind.begin(), kind.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

// Whether bytes could be the start of a record's line.
bool CouldBeCutLine(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == ' ';
    });
}

// A record's line: KIND LENGTH CHECK LINECHECK, nothing when it is not one.
struct TRecordLine {
    std::string_view Kind;
    std::uint64_t Length = 0;
    std::uint64_t Check = 0;
};

std::optional<TRecordLine> ParseLine(std::string_view line) {
    const std::size_t last = line.rfind(' ');
    if (last == std::string_view::npos || line.size() - last - 1 != 8) {
        return std::nullopt;
    }
    const std::optional<std::uint32_t> lineCheck =
        NumberOf<std::uint32_t>(line.substr(last + 1), 16);
    const std::string_view checked = line.substr(0, last);
    if (!lineCheck || *lineCheck != LineCheck(checked)) {
        return std::nullopt;
    }
    const std::size_t first = checked.find(' '), second = checked.rfind(' ');
    if (first == std::string_view::npos || first == second || checked.size() - second - 1 != 16) {
        return std::nullopt;
    }
    const auto length = NumberOf<std::uint64_t>(checked.substr(first + 1, second - first - 1));
    const auto check = NumberOf<std::uint64_t>(checked.substr(second + 1), 16);
    if (!IsKind(checked.substr(0, first)) || !length || !check) {
        return std::nullopt;
    }
    return TRecordLine{checked.substr(0, first), *length, *check};
}

// Whether nothing but zeros follows offset, as a file system may leave where a write was under
// way at a power cut.
bool ZerosToTheEnd(const TRecordBytes& bytes, std::uint64_t offset, std::uint64_t size) {
    constexpr std::size_t Piece = 1 << 16;
    for (; offset < size; offset += Piece) {
        const std::string piece = bytes(offset, Piece);
        if (piece.empty() || piece.find_first_not_of('\0') != std::string::npos) {
            return false;
        }
    }
    return true;
}

// The state of a file whose first line is not head: another version of ours, or not ours.
TRecordFileRead::TState StateOfOtherHead(std::string_view bytes, std::string_view name) {
    const std::string stem = std::string(Stem) + std::string(name) + " ";
    const std::size_t end = bytes.find('\n');
    if (!bytes.starts_with(stem) || end == std::string_view::npos) {
        return TRecordFileRead::Foreign;
    }
    const std::optional<unsigned> number =
        NumberOf<unsigned>(bytes.substr(stem.size(), end - stem.size()));
    return number && *number > 1 ? TRecordFileRead::Newer : TRecordFileRead::Foreign;
}

} // namespace

std::string RecordFileHead(std::string_view name) {
    return std::string(Stem) + std::string(name) + std::string(Version);
}

std::string Hex(std::uint64_t value, int digits) {
    char text[17];
    std::snprintf(text, sizeof text, "%0*llx", digits, static_cast<unsigned long long>(value));
    return text;
}

std::string FormatRecord(std::string_view kind, std::string_view payload) {
    std::string record(kind);
    record += ' ';
    record += std::to_string(payload.size());
    record += ' ';
    record += Hex(ContentHash(std::string(kind) + " " + std::string(payload)), 16);
    record += ' ' + Hex(LineCheck(record), 8) + '\n';
    record += payload;
    record += '\n';
    return record;
}

std::uint64_t AppendRecord(TFile& file, std::uint64_t end, std::string_view record) {
    file.Seek(end);
    try {
        file.WriteAll(record);
    } catch (const EInOutError&) {
        file.Truncate(end);
        throw;
    }
    return end + record.size();
}

void AddField(std::string& payload, std::string_view field) {
    payload += std::to_string(field.size());
    payload += ':';
    payload += field;
    payload += '\n';
}

std::optional<std::string_view> TFields::Next() {
    const std::size_t colon = Rest.find(':');
    if (colon == std::string_view::npos || colon > 19) {
        return std::nullopt;
    }
    const std::optional<std::size_t> length = NumberOf<std::size_t>(Rest.substr(0, colon));
    if (!length || *length > Rest.size() - colon - 1 || Rest.size() - colon - 1 - *length < 1 ||
        Rest[colon + 1 + *length] != '\n') {
        return std::nullopt;
    }
    const std::string_view field = Rest.substr(colon + 1, *length);
    Rest.remove_prefix(colon + 2 + *length);
    return field;
}

bool TFields::Take(std::initializer_list<std::string_view*> into) {
    for (std::string_view* field : into) {
        std::optional<std::string_view> next = Next();
        if (!next) {
            return false;
        }
        *field = *next;
    }
    return true;
}

TRecordBytes BytesOf(TFile& file) {
    return [&file](std::uint64_t offset, std::size_t count) {
        const std::uint64_t size = file.Size();
        if (offset >= size) {
            return std::string();
        }
        file.Seek(offset);
        return file.ReadExactly(std::min<std::uint64_t>(count, size - offset));
    };
}

TRecordFileRead
ReadRecordFile(const TRecordBytes& bytes, std::uint64_t size, std::string_view name,
               const std::function<bool(std::string_view kind, std::string_view payload)>& take) {
    TRecordFileRead read;
    const std::string headLine = RecordFileHead(name);
    const std::string head = bytes(0, MaxLine);
    if (head.size() < headLine.size() && std::string_view(headLine).starts_with(head)) {
        read.Cut = !head.empty();
        return read; // cut before its first line ended
    }
    if (!head.starts_with(headLine)) {
        read.State = StateOfOtherHead(head, name);
        return read;
    }
    std::uint64_t offset = headLine.size();
    read.WholeLength = offset;
    while (offset < size) {
        const std::string start = bytes(offset, MaxLine);
        const std::size_t lineEnd = start.find('\n');
        const bool cutLine =
            lineEnd == std::string::npos && offset + start.size() == size && CouldBeCutLine(start);
        if (cutLine || (start.front() == '\0' && ZerosToTheEnd(bytes, offset, size))) {
            read.Cut = true;
            return read;
        }
        const std::optional<TRecordLine> line =
            lineEnd == std::string::npos ? std::nullopt
                                         : ParseLine(std::string_view(start).substr(0, lineEnd));
        if (!line) {
            read.State = TRecordFileRead::Damaged;
            return read;
        }
        const std::uint64_t payloadAt = offset + lineEnd + 1;
        if (line->Length > size - payloadAt || size - payloadAt - line->Length < 1) {
            read.Cut = true;
            return read; // the last record, cut off by the end of the file
        }
        std::string payload = bytes(payloadAt, static_cast<std::size_t>(line->Length) + 1);
        const bool ended = payload.size() == line->Length + 1 && payload.back() == '\n';
        payload.resize(std::min<std::size_t>(payload.size(), line->Length));
        const bool whole =
            ended && ContentHash(std::string(line->Kind) + " " + payload) == line->Check;
        const std::uint64_t next = payloadAt + line->Length + 1;
        if (!whole) {
            // A write that a power cut left as zeros at the end of the file is a cut too.
            const bool zerosToTheEnd = next == size && !payload.empty() && payload.back() == '\0';
            read.Cut = zerosToTheEnd;
            read.State = zerosToTheEnd ? read.State : TRecordFileRead::Damaged;
            return read;
        }
        if (!take(line->Kind, payload)) {
            read.State = TRecordFileRead::Damaged;
            return read;
        }
        offset = next;
        read.WholeLength = offset;
    }
    return read;
}

std::string SetAsideDamaged(const std::string& path) {
    for (int number = 1; number < 100; ++number) {
        const std::string aside =
            path + ".damaged" + (number == 1 ? "" : "-" + std::to_string(number));
        if (FileTypeOf(aside) == TFileType::Missing) {
            ReplaceFile(path, aside);
            return aside;
        }
    }
    throw EInOutError(0, path);
}
