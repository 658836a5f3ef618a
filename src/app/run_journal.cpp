#include "app/run_journal.h"

#include "app/record_file.h"
#include "platform/exceptions.h"
#include "platform/file_identity.h"
#include "platform/file_names.h"
#include "platform/narrow_text.h"

#include <algorithm>
#include <condition_variable>
#include <ctime>
#include <mutex>
#include <thread>
#include <unordered_map>

namespace {

constexpr std::string_view Name = "journal";

// Builds a journal's content from its records, refusing those that no journal of ours holds
// in that place.
class TJournalBuilder {
public:
    explicit TJournalBuilder(TJournalContent& content) : Content(content) {}

    bool Take(std::string_view kind, std::string_view payload,
              const std::function<void(std::string_view)>& sections) {
        if (Content.Ended || (kind == "run") == Content.HasRun ||
            (kind != "run" && kind != "plan" && kind != "page" && kind != "end")) {
            return false;
        }
        TFields fields(payload);
        std::string_view time;
        if (!fields.Take({&time})) {
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
        if (!fields.Take({&sites, &checker, &output, &open, &close})) {
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
        if (!fields.Take({&sign, &page}) || !fields.AtEnd() || (sign != "+" && sign != "-")) {
            return false;
        }
        Plan(page, sign == "+");
        return true;
    }

    bool TakePage(std::int64_t finished, TFields& fields,
                  const std::function<void(std::string_view)>& sections) {
        std::string_view path, size, modified, hash, checker, open, close, section;
        if (!fields.Take({&path, &size, &modified, &hash, &checker, &open, &close, &section}) ||
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
    TJournalBuilder builder(content);
    const TRecordFileRead read =
        ReadRecordFile(bytes, size, Name, [&](std::string_view kind, std::string_view payload) {
            return builder.Take(kind, payload, sections);
        });
    content.State = static_cast<TJournalContent::TState>(read.State);
    content.WholeLength = read.WholeLength;
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
    const std::string head = RecordFileHead(Name);
    file->WriteAll(head);
    return TRunJournal(std::move(*file), head.size());
}

std::optional<TRunJournal> TRunJournal::Continue(const std::string& path, const TFileId& id,
                                                 const TJournalContent& content) {
    std::optional<TFile> file = TFile::OpenUpdate(path, id);
    if (!file || file->Size() < content.WholeLength ||
        content.WholeLength < RecordFileHead(Name).size()) {
        return std::nullopt;
    }
    file->Truncate(content.WholeLength);
    return TRunJournal(std::move(*file), content.WholeLength);
}

void TRunJournal::Append(std::string_view kind, const std::string& payload) {
    End = AppendRecord(State->File, End, FormatRecord(kind, payload));
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
