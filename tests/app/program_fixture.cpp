#include "program_fixture.h"

#include "checklist/checklst.h"
#include "platform/executable.h"

#include <QTest>

void TProgramFixture::InitApplication() {
    static int argc = 1;
    static char name[] = "allcheck";
    static char* argv[] = {name, nullptr};
    App = std::make_unique<TApplication>(argc, argv);
    App->Initialize();
    ProbeCheckBoxSize();
}

void TProgramFixture::InitProgram() {
    Dir = std::make_unique<TTempDir>();
    OverrideExeName(Dir->Path() + "allcheck");
}

void TProgramFixture::CleanupProgram() {
    App->DestroyForms();
    OverrideExeName("");
    Dir.reset();
}

void TProgramFixture::Configure(const std::string& localPath, const std::string& outputFile,
                                const std::string& lintProgram) {
    Dir->Write("KESTOLA.INI", "[Directory]\r\nLocalPath=" + localPath + "\r\n");
    std::string output =
        outputFile.empty() || outputFile.front() == '/' ? outputFile : Path(outputFile);
    Dir->Write("allcheck.INI",
               "[Program]\nVornaxelBatch=" + lintProgram + "\nOutputFile=" + output + "\n");
}

TMainForm* TProgramFixture::Start() {
    auto* form = App->CreateForm<TMainForm>();
    form->Show();
    return form;
}

TMainForm* TProgramFixture::StartAndScan() {
    TMainForm* form = Start();
    if (!QTest::qWaitFor([form] { return form->BExecLint->Enabled(); }, 10000)) {
        QTest::qFail("the scan did not end", __FILE__, __LINE__);
    }
    return form;
}

Strings TProgramFixture::Items(const TMainForm& form) {
    Strings items;
    for (int i = 0; i < form.CLBLintFile->Items().Count(); ++i) {
        items.push_back(form.CLBLintFile->Items()[i]);
    }
    return items;
}

Strings TProgramFixture::Checked(const TMainForm& form) {
    Strings checked;
    for (int i = 0; i < form.CLBLintFile->Items().Count(); ++i) {
        if (form.CLBLintFile->ItemChecked(i)) {
            checked.push_back(form.CLBLintFile->Items()[i]);
        }
    }
    return checked;
}
