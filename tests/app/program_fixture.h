#pragma once

#include "app/main.h"
#include "support/gui_driver.h"
#include "support/temp_dir.h"

#include <string>
#include <vector>

using Strings = std::vector<std::string>;

// The whole program in a temporary folder: the settings files beside a pretended executable,
// the sites below it, and the main window.
class TProgramTest : public TGuiTest {
protected:
    static void SetUpTestSuite();
    TProgramTest();
    ~TProgramTest() override;

    // Path() + relative, with the platform's separator for the "/" of relative.
    std::string Path(const std::string& relative) const;
    // Writes the two settings files: the site list as comma text, the output file (a full
    // path, or empty for none) and the checker command.
    void Configure(const std::string& localPath, const std::string& outputFile,
                   const std::string& lintProgram = {});
    void Configure(const std::string& localPath) { Configure(localPath, Path("out.txt")); }
    // The command that starts the fake checker beside the test program, doing action with the
    // output file.
    std::string FakeChecker(const std::string& outputFile, const std::string& action) const;

    // Makes the main window; Start also shows it, StartAndScan waits for its scan as well.
    TMainForm* Create();
    TMainForm* Start();
    TMainForm* StartAndScan();

    static Strings Items(const TMainForm& form);
    static Strings Checked(const TMainForm& form);

    TTempDir Dir;

private:
    std::string CheckerPath;
};
