#pragma once

#include "program_fixture.h"

#include "fake_checker.h"
#include "platform/narrow_text.h"
#include "platform/widgets/desktop.h"

#include <string>
#include <vector>

// The default brackets of the combined report, in the report's encoding (their bytes are the
// settings tests' concern).
inline const std::string Open = NarrowText("【"), Close = NarrowText("】");

// What the fake checker's "pages" action leaves for a page.
inline std::string ReportOf(const std::string& page) {
    return "[" + page + "]" + FakeReport;
}

inline std::string Section(const std::string& page) {
    return "\r\n\r\n" + Open + page + Close + "\r\n" + ReportOf(page);
}

class MainFormRunTest : public TProgramTest {
protected:
    MainFormRunTest() {
        OverrideShellOpener([this](const std::string& item) { Opened.push_back(item); });
        OverrideTaskProgress([this](const TTaskProgress& progress) { Shown.push_back(progress); });
    }
    ~MainFormRunTest() override {
        OverrideShellOpener({});
        OverrideTaskProgress({});
    }

    // Configures one site with the given pages and the fake checker doing action, and runs
    // the scan.
    TMainForm* Prepare(const Strings& pages, const std::string& outputFile = "out.txt",
                       const std::string& action = "pages") {
        for (const std::string& page : pages) {
            Dir.Write("site/" + page, "<p>");
        }
        const std::string output = outputFile.empty() ? "" : Path(outputFile);
        Configure(Path("site/"), output, FakeChecker(output, action));
        return StartAndScan();
    }

    Strings Opened;
    // What the task bar button or the launcher entry showed.
    std::vector<TTaskProgress> Shown;
};
