#include "program_fixture.h"

#include "checklist/checklst.h"
#include "platform/executable.h"
#include "platform/file_names.h"
#include "platform/instance_lock.h"
#include "platform/widgets/application.h"

void TProgramTest::SetUpTestSuite() {
    TGuiTest::SetUpTestSuite();
    TestApplication().Initialize();
    ProbeCheckBoxSize();
}

TProgramTest::TProgramTest() : CheckerPath(ExtractFilePath(ExeName()) + FAKE_CHECKER_NAME) {
    OverrideExeName(Dir.Path() + "allcheck");
#ifndef _WIN32
    // The output file's lock, in a lock folder of the test's own.
    OverrideLockFolderBase(Dir.MakeDir("lock-base"));
#endif
}

TProgramTest::~TProgramTest() {
    OverrideExeName("");
#ifndef _WIN32
    OverrideLockFolderBase("");
#endif
}

std::string TProgramTest::Path(const std::string& relative) const {
    std::string path = Dir.Path() + relative;
    for (char& c : path) {
        c = c == '/' ? PathDelim : c;
    }
    return path;
}

void TProgramTest::Configure(const std::string& localPath, const std::string& outputFile,
                             const std::string& lintProgram) {
    Dir.Write("KESTOLA.INI", "[Directory]\r\nLocalPath=" + localPath + "\r\n");
    Dir.Write("allcheck.INI",
              "[Program]\nVornaxelBatch=" + lintProgram + "\nOutputFile=" + outputFile + "\n");
}

// Double quotes keep a blank in a path, for the shell's words and Windows' command line alike.
std::string TProgramTest::FakeChecker(const std::string& outputFile,
                                      const std::string& action) const {
    return "\"" + CheckerPath + "\" \"" + outputFile + "\" " + action;
}

TMainForm* TProgramTest::Create() {
    return TestApplication().CreateForm<TMainForm>();
}

TMainForm* TProgramTest::Start() {
    TMainForm* form = Create();
    ShowAndWait(*form);
    return form;
}

TMainForm* TProgramTest::StartAndScan() {
    TMainForm* form = Start();
    EXPECT_TRUE(WaitFor([form] { return form->BExecLint->Enabled(); })) << "the scan did not end";
    return form;
}

Strings TProgramTest::Items(const TMainForm& form) {
    Strings items;
    for (int i = 0; i < form.CLBLintFile->Items().Count(); ++i) {
        items.push_back(form.CLBLintFile->Items()[i]);
    }
    return items;
}

Strings TProgramTest::Checked(const TMainForm& form) {
    Strings checked;
    for (int i = 0; i < form.CLBLintFile->Items().Count(); ++i) {
        if (form.CLBLintFile->ItemChecked(i)) {
            checked.push_back(form.CLBLintFile->Items()[i]);
        }
    }
    return checked;
}
