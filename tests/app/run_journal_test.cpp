#include "app/run_journal.h"
#include "app/run_resume.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

using namespace std::string_literals;

namespace {

const TRunSettings Settings{"/web/", "checker -q", "/out/report.txt", "[", "]"};

TJournalContent Read(const std::string& bytes) {
    return ReadJournal(
        [&](std::uint64_t offset, std::size_t count) {
            return offset >= bytes.size() ? std::string() : bytes.substr(offset, count);
        },
        bytes.size());
}

class RunJournalTest : public ::testing::Test {
protected:
    // A journal of a run over three pages, two of them finished; gives where each record ends.
    std::vector<std::size_t> WriteJournal() {
        TRunJournal journal = TRunJournal::Create(Path);
        std::vector<std::size_t> ends;
        const auto recordEnds = [&] { ends.push_back(std::filesystem::file_size(Path)); };
        recordEnds();
        journal.AppendRun(1000, Settings, {"/web/a.html", "/web/b.html", "/web/c.html"});
        recordEnds();
        journal.AppendPlan("/web/c.html", false);
        recordEnds();
        journal.AppendPage(
            {1001, "/web/a.html", TFileFingerprint{12, 34, 0xABC}, "checker -q", "[", "]"},
            "\r\n\r\n[/web/a.html]\r\nreport a\0\n"s);
        recordEnds();
        journal.AppendPage({1002, "/web/b.html", std::nullopt, "checker -q", "[", "]"}, "");
        recordEnds();
        return ends;
    }

    TTempDir Dir;
    std::string Path = Dir.Path() + "report.txt.part";
};

// A power cut may end the file anywhere: every whole record before the cut is kept, the cut one
// is not, and nothing is called damaged.
TEST_F(RunJournalTest, AJournalCutAtAnyByteKeepsEveryWholeRecordBeforeTheCut) {
    const std::vector<std::size_t> ends = WriteJournal();
    const std::string whole = ReadAll(Path);
    for (std::size_t cut = 0; cut <= whole.size(); ++cut) {
        const TJournalContent content = Read(whole.substr(0, cut));
        ASSERT_EQ(content.State, TJournalContent::Usable) << "cut at " << cut;
        std::size_t wholeRecords = 0;
        while (wholeRecords < ends.size() && ends[wholeRecords] <= cut) {
            ++wholeRecords;
        }
        EXPECT_EQ(content.WholeLength, wholeRecords == 0 ? 0 : ends[wholeRecords - 1])
            << "cut at " << cut;
        EXPECT_EQ(content.HasRun, wholeRecords >= 2) << "cut at " << cut;
        EXPECT_EQ(content.Finished.size(), wholeRecords < 4 ? 0u : wholeRecords - 3)
            << "cut at " << cut;
    }
    const TJournalContent content = Read(whole);
    EXPECT_EQ(content.Settings, Settings);
    EXPECT_EQ(content.Pending(), std::vector<std::string>{});
    ASSERT_EQ(content.Finished.size(), 2u);
    EXPECT_EQ(content.Finished[0].Fingerprint, (TFileFingerprint{12, 34, 0xABC}));
    EXPECT_EQ(content.Finished[1].Fingerprint, std::nullopt);
    EXPECT_EQ(content.LastTime, 1002);
}

// A run continued from a cut journal appends after its whole records.
TEST_F(RunJournalTest, AContinuedJournalDropsTheCutRecordAndGoesOn) {
    const std::vector<std::size_t> ends = WriteJournal();
    std::filesystem::resize_file(Path, ends[3] + 5);
    TJournalContent content = Read(ReadAll(Path));
    EXPECT_EQ(content.Pending(), std::vector<std::string>{"/web/b.html"});
    std::optional<TRunJournal> journal =
        TRunJournal::Continue(Path, FileIdAt(Path).value(), content);
    ASSERT_TRUE(journal);
    journal->AppendPage({1003, "/web/b.html", std::nullopt, "checker -q", "[", "]"}, "b");
    std::vector<std::string> sections;
    journal->ForEachSection([&](std::string_view section) { sections.emplace_back(section); });
    EXPECT_EQ(sections, (std::vector<std::string>{"\r\n\r\n[/web/a.html]\r\nreport a\0\n"s, "b"}));
    content = Read(ReadAll(Path));
    EXPECT_EQ(content.State, TJournalContent::Usable);
    EXPECT_EQ(content.Pending(), std::vector<std::string>{});
}

// What is not a whole journal of this version, cut off at most at its end, is never read on,
// and the start-up sets it aside under a name it gives.
TEST_F(RunJournalTest, AForeignNewerOrDamagedJournalIsSetAside) {
    const std::vector<std::size_t> ends = WriteJournal();
    const std::string whole = ReadAll(Path);
    const auto flipped = [&](std::size_t at) {
        std::string bytes = whole;
        bytes[at] ^= 0x01;
        return bytes;
    };
    const struct {
        std::string Bytes;
        TJournalContent::TState State;
    } cases[] = {
        {"some notes of mine\n", TJournalContent::Foreign},
        {"allcheck journal 2\n" + whole.substr(19), TJournalContent::Newer},
        {flipped(ends[1] + 2), TJournalContent::Damaged},  // a record's line
        {flipped(ends[2] + 60), TJournalContent::Damaged}, // a record's bytes
        {whole.substr(0, ends[3]) + "garbage\n" + whole.substr(ends[3]), TJournalContent::Damaged},
        {whole + std::string(5000, '\0'), TJournalContent::Usable}, // a power cut's zeros
    };
    for (const auto& [bytes, state] : cases) {
        EXPECT_EQ(Read(bytes).State, state) << bytes.substr(0, 40);
        if (state != TJournalContent::Usable) {
            Dir.Write("report.txt.part", bytes);
            const TJournalFinding found = FindJournal(Path, Settings);
            EXPECT_EQ(found.Kind, TJournalFinding::SetAside);
            EXPECT_EQ(ReadAll(found.Kept), bytes);
            EXPECT_FALSE(std::filesystem::exists(Path));
        }
    }
}

} // namespace
