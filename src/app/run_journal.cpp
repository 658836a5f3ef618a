#include "app/run_journal.h"

#include "platform/exceptions.h"
#include "platform/file_identity.h"
#include "platform/file_names.h"
#include "platform/narrow_text.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <condition_variable>
#include <ctime>
#include <mutex>
#include <thread>
#include <unordered_map>

namespace {

constexpr std::string_view Magic = "allcheck journal 1\n";
constexpr std::string_view MagicStem = "allcheck journal ";
// Longer than any record's line: KIND, LENGTH (at most 19 digits), CHECK and LINECHECK.
constexpr std::size_t MaxLine = 64;

std::string Hex(std::uint64_t value, int digits) {
    char text[17];
    std::snprintf(text, sizeof text, "%0*llx", digits, static_cast<unsigned long long>(value));
    return text;
}

std::uint32_t LineCheck(std::string_view line) {
    return static_cast<std::uint32_t>(ContentHash(line));
}

void AddField(std::string& payload, std::string_view field) {
    payload += std::to_string(field.size());
    payload += ':';
    payload += field;
    payload += '\n';
}

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

    std::optional<std::string_view> Next() {
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
    bool AtEnd() const { return Rest.empty(); }

private:
    std::string_view Rest;
};

// A record's fields, all of which must be there: false when one is missing.
bool TakeFields(TFields& fields, std::initializer_list<std::string_view*> into) {
    for (std::string_view* field : into) {
        std::optional<std::string_view> next = fields.Next();
        if (!next) {
            return false;
        }
        *field = *next;
    }
    return true;
}

// Builds a journal's content from its records, refusing those that no journal of ours holds
// in that place.
class TJournalBuilder {
public:
    explicit TJournalBuilder(TJournalContent& content) : Content(content) {}

    bool Take(std::string_view kind, std::string_view payload,
              const std::function<void(std::string_view)>& sections) {
        if (Content.Ended || (kind == "run") == Content.HasRun) {
            return false;
        }
        TFields fields(payload);
        std::string_view time;
        if (!TakeFields(fields, {&time})) {
            return false;
        }
        const std::optional<std::int64_t> when = NumberOf<std::int64_t>(time);
        if (!when) {
            return false;
        }
        Content.LastTime = *when;
        if (kind == "run") {
            return TakeRun(*when, fields);
        }
        if (kind == "plan") {
            return TakePlan(fields);
        }
        if (kind == "page") {
            return TakePage(*when, fields, sections);
        }
        Content.Ended = true;
        return fields.AtEnd();
    }

private:
    bool TakeRun(std::int64_t started, TFields& fields) {
        TRunSettings& settings = Content.Settings;
        std::string_view sites, checker, output, open, close;
        if (!TakeFields(fields, {&sites, &checker, &output, &open, &close})) {
            return false;
        }
        settings = {std::string(sites), std::string(checker), std::string(output),
                    std::string(open), std::string(close)};
        Content.HasRun = true;
        Content.Started = started;
        while (!fields.AtEnd()) {
            std::optional<std::string_view> page = fields.Next();
            if (!page) {
                return false;
            }
            Plan(*page, true);
        }
        return true;
    }

    bool TakePlan(TFields& fields) {
        std::string_view sign, page;
        if (!TakeFields(fields, {&sign, &page}) || !fields.AtEnd() ||
            (sign != "+" && sign != "-")) {
            return false;
        }
        Plan(page, sign == "+");
        return true;
    }

    bool TakePage(std::int64_t finished, TFields& fields,
                  const std::function<void(std::string_view)>& sections) {
        std::string_view path, size, modified, hash, checker, open, close, section;
        if (!TakeFields(fields,
                        {&path, &size, &modified, &hash, &checker, &open, &close, &section}) ||
            !fields.AtEnd()) {
            return false;
        }
        TJournalPage page{finished,          std::string(path), std::nullopt, std::string(checker),
                          std::string(open), std::string(close)};
        if (!size.empty() || !modified.empty() || !hash.empty()) {
            const auto sizeValue = NumberOf<std::uint64_t>(size);
            const auto modifiedValue = NumberOf<std::int64_t>(modified);
            const auto hashValue = NumberOf<std::uint64_t>(hash, 16);
            if (!sizeValue || !modifiedValue || !hashValue) {
                return false;
            }
            page.Fingerprint = TFileFingerprint{*sizeValue, *modifiedValue, *hashValue};
        }
        Content.Finished.push_back(std::move(page));
        if (sections) {
            sections(section);
        }
        return true;
    }

    void Plan(std::string_view page, bool checked) {
        const auto [at, added] = Index.try_emplace(std::string(page), Content.Planned.size());
        if (added) {
            Content.Planned.emplace_back(page);
            Content.StillPlanned.push_back(checked);
        } else {
            Content.StillPlanned[at->second] = checked;
        }
    }

    TJournalContent& Content;
    std::unordered_map<std::string, std::size_t> Index;
};

bool IsKind(std::string_view kind) {
    return kind == "run" || kind == "plan" || kind == "page" || kind == "end";
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
bool ZerosToTheEnd(const TJournalBytes& bytes, std::uint64_t offset, std::uint64_t size) {
    constexpr std::size_t Piece = 1 << 16;
    for (; offset < size; offset += Piece) {
        const std::string piece = bytes(offset, Piece);
        if (piece.empty() || piece.find_first_not_of('\0') != std::string::npos) {
            return false;
        }
    }
    return true;
}

} // namespace

std::vector<std::string> TJournalContent::Pending() const {
    std::unordered_map<std::string_view, bool> finished;
    for (const TJournalPage& page : Finished) {
        finished[page.Path] = true;
    }
    std::vector<std::string> pending;
    for (std::size_t i = 0; i < Planned.size(); ++i) {
        if (StillPlanned[i] && !finished.contains(Planned[i])) {
            pending.push_back(Planned[i]);
        }
    }
    return pending;
}

TJournalContent ReadJournal(const TJournalBytes& bytes, std::uint64_t size,
                            const std::function<void(std::string_view section)>& sections) {
    TJournalContent content;
    const std::string head = bytes(0, MaxLine);
    if (head.size() < Magic.size() && Magic.starts_with(head)) {
        return content; // cut before its first line ended
    }
    if (!head.starts_with(Magic)) {
        const bool ours = head.starts_with(MagicStem);
        const std::size_t end = head.find('\n');
        const std::string_view version =
            ours && end != std::string::npos
                ? std::string_view(head).substr(MagicStem.size(), end - MagicStem.size())
                : std::string_view();
        const std::optional<unsigned> number = NumberOf<unsigned>(version);
        content.State = number && *number > 1 ? TJournalContent::Newer : TJournalContent::Foreign;
        return content;
    }
    TJournalBuilder builder(content);
    std::uint64_t offset = Magic.size();
    content.WholeLength = offset;
    while (offset < size) {
        const std::string start = bytes(offset, MaxLine);
        const std::size_t lineEnd = start.find('\n');
        const bool cutLine =
            lineEnd == std::string::npos && offset + start.size() == size && CouldBeCutLine(start);
        if (cutLine || (start.front() == '\0' && ZerosToTheEnd(bytes, offset, size))) {
            return content;
        }
        const std::optional<TRecordLine> line =
            lineEnd == std::string::npos ? std::nullopt
                                         : ParseLine(std::string_view(start).substr(0, lineEnd));
        if (!line) {
            content.State = TJournalContent::Damaged;
            return content;
        }
        const std::uint64_t payloadAt = offset + lineEnd + 1;
        if (line->Length > size - payloadAt || size - payloadAt - line->Length < 1) {
            return content; // the last record, cut off by the end of the file
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
            content.State = zerosToTheEnd ? content.State : TJournalContent::Damaged;
            return content;
        }
        if (!builder.Take(line->Kind, payload, sections)) {
            content.State = TJournalContent::Damaged;
            return content;
        }
        offset = next;
        content.WholeLength = offset;
    }
    return content;
}

std::string JournalPathFor(const std::string& outputFile) {
    return outputFile + ".part";
}

struct TRunJournal::TState {
    explicit TState(TFile file) : File(std::move(file)), Syncer([this] { SyncWhileOpen(); }) {}
    ~TState() {
        {
            const std::lock_guard<std::mutex> lock(Lock);
            Closing = true;
        }
        Wake.notify_one();
        Syncer.join();
    }
    TState(const TState&) = delete;
    TState& operator=(const TState&) = delete;

    // A record was written: it reaches the disk within SyncInterval. Only the first since the
    // last sync wakes the syncer; a wake for each page would cost the run a switch of threads.
    void Written() {
        {
            const std::lock_guard<std::mutex> lock(Lock);
            if (Dirty) {
                return;
            }
            Dirty = true;
        }
        Wake.notify_one();
    }

    void Sync() {
        {
            const std::lock_guard<std::mutex> lock(Lock);
            Dirty = false;
        }
        File.Sync();
    }

    TFile File;

private:
    void SyncWhileOpen() {
        std::unique_lock<std::mutex> lock(Lock);
        for (;;) {
            Wake.wait(lock, [this] { return Dirty || Closing; });
            if (Closing) {
                return;
            }
            // What is written meanwhile goes with it.
            Wake.wait_for(lock, SyncInterval, [this] { return Closing; });
            Dirty = false;
            lock.unlock();
            try {
                File.Sync();
            } catch (const EInOutError&) {
                // Sync at the end says it; a run goes on without the disk's word.
            }
            lock.lock();
        }
    }

    std::mutex Lock;
    std::condition_variable Wake;
    bool Dirty = false;
    bool Closing = false;
    std::thread Syncer; // last: it starts once the rest is made
};

TRunJournal::TRunJournal(TFile file, std::uint64_t end)
    : State(std::make_unique<TState>(std::move(file))), End(end) {}

TRunJournal::TRunJournal(TRunJournal&&) noexcept = default;
TRunJournal& TRunJournal::operator=(TRunJournal&&) noexcept = default;
TRunJournal::~TRunJournal() = default;

const std::string& TRunJournal::Path() const {
    return State->File.Path();
}

TRunJournal TRunJournal::Create(const std::string& path) {
    std::optional<TFile> file = TFile::CreateNew(path);
    if (!file) {
        throw EInOutError(0, NarrowText("ﾌｧｲﾙがもうあるので作りません: ") + path);
    }
    file->WriteAll(Magic);
    return TRunJournal(std::move(*file), Magic.size());
}

std::optional<TRunJournal> TRunJournal::Continue(const std::string& path, const TFileId& id,
                                                 const TJournalContent& content) {
    std::optional<TFile> file = TFile::OpenUpdate(path, id);
    if (!file || file->Size() < content.WholeLength || content.WholeLength < Magic.size()) {
        return std::nullopt;
    }
    file->Truncate(content.WholeLength);
    return TRunJournal(std::move(*file), content.WholeLength);
}

void TRunJournal::Append(std::string_view kind, const std::string& payload) {
    std::string record(kind);
    record += ' ';
    record += std::to_string(payload.size());
    record += ' ';
    record += Hex(ContentHash(std::string(kind) + " " + payload), 16);
    record += ' ' + Hex(LineCheck(record), 8) + '\n';
    record += payload;
    record += '\n';
    TFile& file = State->File;
    file.Seek(End);
    try {
        file.WriteAll(record);
    } catch (const EInOutError&) {
        // Whatever part of the record was written goes again, so that the next one follows
        // the whole records.
        file.Truncate(End);
        throw;
    }
    End += record.size();
    State->Written();
}

void TRunJournal::AppendRun(std::int64_t started, const TRunSettings& settings,
                            const std::vector<std::string>& pages) {
    std::string payload;
    AddField(payload, std::to_string(started));
    for (const std::string* field : {&settings.Sites, &settings.Checker, &settings.OutputFile,
                                     &settings.OpenParen, &settings.CloseParen}) {
        AddField(payload, *field);
    }
    for (const std::string& page : pages) {
        AddField(payload, page);
    }
    Append("run", payload);
}

void TRunJournal::AppendPlan(const std::string& page, bool checked) {
    std::string payload;
    AddField(payload, std::to_string(std::time(nullptr)));
    AddField(payload, checked ? "+" : "-");
    AddField(payload, page);
    Append("plan", payload);
}

void TRunJournal::AppendPage(const TJournalPage& page, std::string_view section) {
    std::string payload;
    AddField(payload, std::to_string(page.Finished));
    AddField(payload, page.Path);
    const std::optional<TFileFingerprint>& print = page.Fingerprint;
    AddField(payload, print ? std::to_string(print->Size) : "");
    AddField(payload, print ? std::to_string(print->ModifiedTime) : "");
    AddField(payload, print ? Hex(print->Hash, 16) : "");
    AddField(payload, page.Checker);
    AddField(payload, page.OpenParen);
    AddField(payload, page.CloseParen);
    AddField(payload, section);
    Append("page", payload);
}

void TRunJournal::AppendEnd(std::int64_t finished) {
    std::string payload;
    AddField(payload, std::to_string(finished));
    Append("end", payload);
    Sync();
}

void TRunJournal::Sync() {
    State->Sync();
}

void TRunJournal::ForEachSection(const std::function<void(std::string_view section)>& take) {
    const TJournalBytes bytes = [this](std::uint64_t offset, std::size_t count) {
        if (offset >= End) {
            return std::string();
        }
        State->File.Seek(offset);
        return State->File.ReadExactly(std::min<std::uint64_t>(count, End - offset));
    };
    ReadJournal(bytes, End, take);
}

void TRunJournal::Remove() {
    TFile& file = State->File;
    const bool ours = FileIdAt(file.Path()) == file.Id();
    const std::string path = file.Path();
    State.reset();
    if (ours) {
        DeleteFile(path);
    }
}
