// Feeds arbitrary bytes to the reader of a run's journal, which the start-up reads without
// trusting it: whatever it holds, the reader ends, keeps within the bytes, and what it keeps of
// a usable journal is what the whole records before WholeLength hold.
#include "app/run_journal.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

TJournalContent Read(std::string_view bytes, std::size_t* sections = nullptr) {
    return ReadJournal(
        [bytes](std::uint64_t offset, std::size_t count) {
            return offset >= bytes.size() ? std::string()
                                          : std::string(bytes.substr(offset, count));
        },
        bytes.size(),
        [sections](std::string_view) {
            if (sections != nullptr) {
                ++*sections;
            }
        });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::size_t sections = 0;
    const TJournalContent content = Read(bytes, &sections);
    if (content.WholeLength > size || sections != content.Finished.size() ||
        content.StillPlanned.size() != content.Planned.size()) {
        std::abort();
    }
    if (content.State == TJournalContent::Usable) {
        const TJournalContent kept = Read(bytes.substr(0, content.WholeLength));
        if (kept.State != TJournalContent::Usable || kept.Finished.size() != sections ||
            kept.WholeLength != content.WholeLength) {
            std::abort();
        }
    }
    content.Pending();
    return 0;
}
