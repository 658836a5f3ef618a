#include "app/check_record.h"
#include "platform/file_io.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

namespace {

namespace fs = std::filesystem;

class CheckRecordTest : public ::testing::Test {
protected:
    CheckRecordTest() { Settings.OutputFile = Dir.Path() + "report.txt"; }

    // Checks page as a run does: its fingerprint when its checker started, under Settings.
    void RecordCheck(const std::string& page) {
        const std::string path = CheckRecordPathFor(Settings.OutputFile);
        std::optional<TCheckRecordWriter> writer =
            TCheckRecordWriter::Open(path, LoadCheckRecord(path));
        ASSERT_TRUE(writer);
        writer->Add({1000, page, FingerprintOf(page), Settings.LintProgram, Settings.OpenParen,
                     Settings.CloseParen});
    }

    std::vector<char> Changed(const std::vector<std::string>& pages) {
        std::string setAside;
        std::vector<char> changed = ChangedPages(pages, Settings, setAside);
        SetAside = setAside;
        return changed;
    }

    TTempDir Dir;
    TProgramSettings Settings{"checker -q", "", "[", "]"};
    std::string SetAside;
};

void Touch(const std::string& path) {
    fs::last_write_time(path, fs::last_write_time(path) + std::chrono::seconds(10));
}

// The rule that decides which pages are checked again, one edit after the record each.
TEST_F(CheckRecordTest, APageCountsAsChangedOnlyWhenItsContentOrItsSettingsChanged) {
    struct TCase {
        const char* Edit;
        std::function<void(const std::string& page, TProgramSettings& settings)> Apply;
        bool Changed;
    };
    const TCase cases[] = {
        {"none", [](const std::string&, TProgramSettings&) {}, false},
        {"rewritten with the same bytes",
         [](const std::string& page, TProgramSettings&) {
             WriteFileBytes(page, "<p>page</p>");
             Touch(page);
         },
         false},
        {"other bytes of the same size",
         [](const std::string& page, TProgramSettings&) {
             WriteFileBytes(page, "<p>PAGE</p>");
             Touch(page);
         },
         true},
        {"longer", [](const std::string& page, TProgramSettings&) { WriteFileBytes(page, "<p>"); },
         true},
        {"removed", [](const std::string& page, TProgramSettings&) { fs::remove(page); }, true},
        {"another checker",
         [](const std::string&, TProgramSettings& settings) { settings.LintProgram += " -x"; },
         true},
        {"other brackets",
         [](const std::string&, TProgramSettings& settings) { settings.CloseParen = ">"; }, true},
    };
    for (const TCase& test : cases) {
        const std::string page = Dir.Write("site/page.html", "<p>page</p>");
        const std::string unrecorded = Dir.Write("site/new.html", "<p>new</p>");
        fs::remove(CheckRecordPathFor(Settings.OutputFile));
        RecordCheck(page);
        const TProgramSettings checkedUnder = Settings;
        test.Apply(page, Settings);
        EXPECT_EQ(Changed({page, unrecorded}), (std::vector<char>{test.Changed, true}))
            << test.Edit;
        Settings = checkedUnder;
    }
}

// The record is data like any file on the disk: whatever it holds, it is never trusted in part.
TEST_F(CheckRecordTest, ARecordThatIsNotWholeIsSetAsideAndEveryPageCountsAsChanged) {
    const std::string page = Dir.Write("site/page.html", "<p>page</p>");
    const std::string path = CheckRecordPathFor(Settings.OutputFile);
    RecordCheck(page);
    const std::string whole = ReadAll(path);
    const std::string damaged[] = {
        whole.substr(0, whole.size() - 5),                // cut within its record
        whole.substr(0, 25) + "X" + whole.substr(26),     // a byte changed
        "allcheck checks 2\n",                            // a later version's
        "<html>not a record</html>\n",                    // not ours at all
        whole + "page 3 0000000000000000 00000000\nab\n", // a forged record
    };
    for (const std::string& bytes : damaged) {
        WriteFileBytes(path, bytes);
        EXPECT_EQ(Changed({page}), std::vector<char>{true}) << bytes;
        EXPECT_EQ(SetAside, path + ".damaged") << bytes;
        EXPECT_EQ(ReadAll(SetAside), bytes);
        EXPECT_FALSE(fs::exists(path));
        fs::remove(SetAside);
    }
    // A run begins a new record in its place.
    RecordCheck(page);
    EXPECT_EQ(Changed({page}), std::vector<char>{false});
}

// Every run adds a record for each of its pages; the record is compacted once it has grown, and
// keeps each page's last check.
TEST_F(CheckRecordTest, ACompactedRecordKeepsEachPagesLastCheck) {
    const std::string page = Dir.Write("site/page.html", "first");
    const std::string path = CheckRecordPathFor(Settings.OutputFile);
    {
        std::optional<TCheckRecordWriter> writer =
            TCheckRecordWriter::Open(path, LoadCheckRecord(path));
        ASSERT_TRUE(writer);
        for (int run = 0; run < 100; ++run) {
            if (run == 99) {
                WriteFileBytes(page, "second");
            }
            writer->Add({1000, page, FingerprintOf(page), Settings.LintProgram, Settings.OpenParen,
                         Settings.CloseParen});
        }
    }
    ASSERT_TRUE(TCheckRecordWriter::Open(path, LoadCheckRecord(path)));
    EXPECT_EQ(LoadCheckRecord(path).Records, 1u);
    EXPECT_EQ(Changed({page}), std::vector<char>{false});
}

} // namespace
