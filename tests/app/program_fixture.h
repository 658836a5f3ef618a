#pragma once

#include "app/main.h"
#include "platform/widgets/application.h"
#include "support/temp_dir.h"

#include <QTest>

#include <memory>
#include <string>
#include <vector>

using Strings = std::vector<std::string>;

// Shows both sides of a failed comparison of string lists, one entry a line.
namespace QTest {
template <>
inline char* toString(const Strings& strings) {
    std::string text = "\n";
    for (const std::string& entry : strings) {
        text += "    " + entry + "\n";
    }
    return qstrdup(text.c_str());
}
} // namespace QTest

// The whole program in a temporary folder: the settings files beside a pretended executable,
// the sites below it, and the application object that runs the main window.
class TProgramFixture {
protected:
    void InitApplication();
    void InitProgram();
    void CleanupProgram();

    // Writes the two settings files; a relative output file lies in the folder.
    void Configure(const std::string& localPath, const std::string& outputFile = "out.txt",
                   const std::string& lintProgram = "true");
    std::string Path(const std::string& relative) const { return Dir->Path() + relative; }

    TMainForm* Start();
    TMainForm* StartAndScan();

    static Strings Items(const TMainForm& form);
    static Strings Checked(const TMainForm& form);

    std::unique_ptr<TTempDir> Dir;
    std::unique_ptr<TApplication> App;
};
