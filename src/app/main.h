#pragma once

#include "app/run_resume.h"
#include "checklist/checklst.h"
#include "platform/instance_lock.h"
#include "platform/string_list.h"
#include "platform/widgets/form.h"
#include "platform/widgets/front_window.h"
#include "platform/widgets/menu.h"
#include "platform/widgets/std_controls.h"
#include "settings/sites_and_program.h"

#include <memory>
#include <optional>
#include <string>

#include "files/file_list.h"

// Asks the main window to search the sites once it is shown; on Windows the window message
// 1025.
inline constexpr unsigned WM_SCANFILES = 1;

// The program's one window: the list of HTML files with a check box each, the status line,
// and the buttons that start the check and close the program.
class TMainForm : public TForm {
public:
    TMainForm();
    ~TMainForm() override;

    std::unique_ptr<TPanel> Panel1;
    std::unique_ptr<TButton> BClose;
    std::unique_ptr<TLabel> LStatus;
    std::unique_ptr<TCheckListBox> CLBLintFile;
    std::unique_ptr<TButton> BExecLint;
    std::unique_ptr<TPopupMenu> PopupMenu;
    TMenuItem* PMCLear = nullptr;
    TMenuItem* PMAllCheck = nullptr;
    TMenuItem* PMChangedCheck = nullptr;
    TMenuItem* N1 = nullptr;
    TMenuItem* PMSiteCheck = nullptr;

    std::unique_ptr<TStringList> SiteDirs;
    TProgramSettings Settings; // LintProgram, OutputFile, OpenParen, CloseParen
    // Set when another program holds the same output file, or its lock cannot be taken: this
    // start has said so and ends without showing its window.
    bool SecondStart = false;

    void FormCreate(TObject* sender);
    void FormDestroy(TObject* sender);
    void BCloseClick(TObject* sender);
    void BExecLintClick(TObject* sender);
    void PMCLearClick(TObject* sender);
    void PMAllCheckClick(TObject* sender);
    void PMChangedCheckClick(TObject* sender);
    void SiteItemClick(TObject* sender);

    void Dispatch(TMessage& message) override;
    void WMScanFiles(TMessage& message);

    // Runs the checker over every checked file, one after another, and writes the combined
    // report (RunBatch), with the start button off; closing the window meanwhile asks whether
    // to stop the run, and a run stopped closes the window once its report is saved.
    void ExecuteBatch();
    // Whether the user chose to stop the run under way.
    bool StopAsked() const { return StopChosen; }

private:
    // One program per output file, held from start-up on.
    std::unique_ptr<TOutputFileLock> OutputLock;
    std::unique_ptr<TFrontOnRequest> FrontOnRequest;
    // Why the output file could not be emptied at start, or was refused, for the start button
    // to say.
    std::string ResetFailure;
    // What the scan listed: what a file that takes the output file's name during the run is
    // held to.
    std::unique_ptr<TFileList> Pages;

    // The unfinished run that the user chose to continue, if any.
    std::optional<TJournalFinding> Continued;
    // Set when the user chose to stop the run under way.
    bool StopChosen = false;

    bool HoldOutputFile();
    void TakeUpJournal();
    bool AskToStop();
    void CreateComponents();
    void BuildSiteMenu();
    void SetAllChecked(bool checked);
};
