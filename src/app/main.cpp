// The main window, TMainForm: its making, the scan, the popup commands, and the batch run
// wired to its controls (the run itself is batch_run.cpp).
#include "app/main.h"

#include "app/batch_run.h"
#include "app/check_record.h"
#include "app/list_follow.h"
#include "app/output_reset.h"
#include "app/run_texts.h"
#include "app/start_texts.h"
#include "app/site_menu.h"
#include "app/site_scan.h"
#include "app/status_texts.h"
#include "app/unreadable_sites.h"
#include "files/text_file.h"
#include "platform/exceptions.h"
#include "platform/executable.h"
#include "platform/file_identity.h"
#include "platform/file_names.h"
#include "platform/narrow_text.h"
#include "platform/widgets/application.h"
#include "platform/widgets/desktop.h"
#include "platform/widgets/dialogs.h"
#include "settings/sites_and_program.h"

#include <unordered_set>

namespace {

const TFont WindowFont{NarrowText("ＭＳ Ｐゴシック"), 12};
// What the system shows when the user's session would end during a run.
const std::string RunUnderWay =
    NarrowText("ﾁｪｯｸを実行中です。今終了するとﾁｪｯｸは中断され、次に起動したときに続けます");

// Ends an update of the list's items also when filling it fails.
class TItemsUpdate {
public:
    explicit TItemsUpdate(TCheckListBox& list) : List(list) { List.Items().BeginUpdate(); }
    ~TItemsUpdate() { List.Items().EndUpdate(); }
    TItemsUpdate(const TItemsUpdate&) = delete;
    TItemsUpdate& operator=(const TItemsUpdate&) = delete;

private:
    TCheckListBox& List;
};

} // namespace

TMainForm::TMainForm() {
    CreateComponents();
    OnCreate = [this](TObject* sender) { FormCreate(sender); };
    OnDestroy = [this](TObject* sender) { FormDestroy(sender); };
}

TMainForm::~TMainForm() = default;

// The window as its designer laid it out: a fixed dialog, the list above a strip that holds the
// status line and the two buttons.
void TMainForm::CreateComponents() {
    SetText("All Vornaxel Check");
    SetClientSize(592, 229);
    SetBorderStyle(TBorderStyle::Dialog);
    SetPosition(TPosition::ScreenCenter);
    SetFont(WindowFont);

    Panel1 = std::make_unique<TPanel>(this);
    Panel1->SetBounds(0, 198, 592, 31);

    BClose = std::make_unique<TButton>(Panel1.get());
    BClose->SetBounds(512, 3, 75, 25);
    BClose->SetText(NarrowText("閉じる(&C)"));
    BClose->OnClick = [this](TObject* sender) { BCloseClick(sender); };

    LStatus = std::make_unique<TLabel>(Panel1.get());
    LStatus->SetBounds(8, 10, 417, 12);

    CLBLintFile = std::make_unique<TCheckListBox>(this);
    CLBLintFile->SetBounds(0, 0, 592, 198);
    CLBLintFile->SetFont(WindowFont);
    CLBLintFile->SetAccessibleName(NarrowText("ﾁｪｯｸするﾌｧｲﾙの一覧"));

    BExecLint = std::make_unique<TButton>(Panel1.get());
    BExecLint->SetBounds(432, 3, 75, 25);
    BExecLint->SetText(NarrowText("ﾁｪｯｸ開始(&S)"));
    BExecLint->SetEnabled(false);
    BExecLint->OnClick = [this](TObject* sender) { BExecLintClick(sender); };

    PopupMenu = std::make_unique<TPopupMenu>();
    auto addItem = [this](const char* caption) {
        return PopupMenu->Items().Add(std::make_unique<TMenuItem>(NarrowText(caption)));
    };
    PMCLear = addItem("ﾁｪｯｸｸﾘｱ");
    PMCLear->OnClick = [this](TObject* sender) { PMCLearClick(sender); };
    PMAllCheck = addItem("全てﾁｪｯｸ");
    PMAllCheck->OnClick = [this](TObject* sender) { PMAllCheckClick(sender); };
    PMChangedCheck = addItem("変更されたﾌｧｲﾙのみﾁｪｯｸ");
    PMChangedCheck->OnClick = [this](TObject* sender) { PMChangedCheckClick(sender); };
    N1 = addItem("-");
    PMSiteCheck = addItem("特定ｻｲﾄのみﾁｪｯｸ");

    // Panel1 comes first in the tab order, its buttons in the order close, start; then the list.
    SetFocusChain({BClose.get(), BExecLint.get(), CLBLintFile.get()});
    SetActiveControl(BClose.get());
    SetPopupMenu(PopupMenu.get());
}

void TMainForm::FormCreate(TObject*) {
    if (std::optional<std::string> unnamed = ExeNameOutsideCodePage()) {
        ShowWarningMessage(ProgramUnnamed, {*unnamed});
    }
    TSettingsProblems problems;
    SiteDirs = std::make_unique<TStringList>(ReadSiteDirs(CompanionSettingsPath(), problems));
    Settings = ReadProgramSettings(OwnSettingsPath(), problems);
    if (!HoldOutputFile()) {
        return;
    }
    for (const std::string& problem : problems) {
        ShowErrorMessage(problem);
    }
    BuildSiteMenu();
    // The output file is reset at the end of the scan, once its rule can see the pages listed.
    Post(WM_SCANFILES);
}

// Before anything is touched: a second program on the same output file would empty the file
// that the first one's checker is writing and replace its backup. The second start says so,
// shows the first one's window and ends.
bool TMainForm::HoldOutputFile() {
    if (Settings.OutputFile.empty()) {
        return true;
    }
    OutputLock = std::make_unique<TOutputFileLock>(Settings.OutputFile);
    // Unlocked, a second start could empty the file and the backup of this one's run.
    if (OutputLock->Failed()) {
        ShowErrorMessage(OutputLock->FailureText());
        SecondStart = true;
        return false;
    }
    if (OutputLock->HeldElsewhere()) {
        ShowWarningMessage(AlreadyRunning + Settings.OutputFile, {});
        AskToFront(OutputLock->Key());
        SecondStart = true;
        return false;
    }
    if (!OutputLock->Key().empty()) {
        FrontOnRequest = std::make_unique<TFrontOnRequest>(*this, OutputLock->Key());
    }
    return true;
}

void TMainForm::FormDestroy(TObject*) {
    SiteDirs.reset();
}

void TMainForm::BuildSiteMenu() {
    const std::vector<std::string> captions = SiteCaptions(SiteDirs->Items());
    for (int i = 0; i < SiteDirs->Count(); ++i) {
        auto item = std::make_unique<TMenuItem>(captions[static_cast<std::size_t>(i)]);
        item->Tag = i;
        item->OnClick = [this](TObject* sender) { SiteItemClick(sender); };
        PMSiteCheck->Add(std::move(item));
    }
}

void TMainForm::Dispatch(TMessage& message) {
    if (message.Msg == WM_SCANFILES) {
        WMScanFiles(message);
    }
}

void TMainForm::WMScanFiles(TMessage&) {
    Pages = std::make_unique<TFileList>();
    TFileList& files = *Pages;
    LStatus->SetText(StatusSearching);
    LStatus->Update();
    ScanSites(*SiteDirs, files);
    LStatus->SetText(StatusListing);
    LStatus->Update();
    {
        TItemsUpdate update(*CLBLintFile);
        for (const std::string& path : files) {
            CLBLintFile->Items().Add(path);
        }
        SetAllChecked(true);
    }
    const int count = CLBLintFile->Items().Count();
    const std::vector<std::string> unreadable = UnreadableSites(*SiteDirs);
    LStatus->SetText(StatusFileCount(count, unreadable.size()));
    if (!files.LeftOut().empty()) {
        const TLeftOutNotice notice = LeftOutNotice(files.LeftOut());
        ShowWarningMessage(notice.Message, notice.Lines);
    }
    if (!unreadable.empty()) {
        ShowWarningMessage(UnreadableSitesNotice(unreadable), {});
    }
    // A refused output file is said at once, a failed reset on the status line; either leaves
    // no output file, so the start button says why.
    if (std::optional<TOutputResetProblem> problem = ResetOutputFile(Settings, *SiteDirs, files)) {
        if (problem->Refused) {
            ShowErrorMessage(problem->Message);
        }
        ResetFailure = problem->Message;
        LStatus->SetText(StatusWithProblem(LStatus->Text(), problem->Message));
    }
    if (!Settings.OutputFile.empty()) {
        TakeUpJournal();
    }
    BExecLint->SetEnabled(true);
}

// An earlier run's journal: a run cut short under the same settings is offered to continue, its
// pages checked again; any other is kept where the user is told.
void TMainForm::TakeUpJournal() {
    const std::string path = JournalPathFor(Settings.OutputFile);
    try {
        TJournalFinding found = FindJournal(path, RunSettingsOf(*SiteDirs, Settings));
        switch (found.Kind) {
        case TJournalFinding::Nothing:
            return;
        case TJournalFinding::SetAside:
            ShowErrorMessage(JournalSetAsideText(path, found.Kept));
            return;
        case TJournalFinding::OtherSettings:
            if (!found.Kept.empty()) {
                ShowWarningMessage(OtherSettingsText(found.Kept), {});
            }
            return;
        case TJournalFinding::Unfinished:
            break;
        }
        if (!AskYesNo(ContinueQuestion(found.Done, found.Total, found.Content.LastTime))) {
            const std::string kept = KeepUnfinishedRun(path, Settings.OutputFile, found);
            if (!kept.empty()) {
                ShowWarningMessage(UnfinishedKeptText(kept), {});
            }
            return;
        }
        // Only what the scan listed is checked: a path of the journal selects, never names.
        const std::vector<std::string> pending = found.Content.Pending();
        const std::unordered_set<std::string> toCheck(pending.begin(), pending.end());
        int checked = 0;
        for (int i = 0; i < CLBLintFile->Items().Count(); ++i) {
            const bool check = toCheck.contains(CLBLintFile->Items()[i]);
            CLBLintFile->SetItemChecked(i, check);
            checked += check ? 1 : 0;
        }
        LStatus->SetText(StatusContinuing(static_cast<std::size_t>(checked)));
        Continued = std::move(found);
    } catch (const EInOutError& error) {
        // Nothing was removed: the journal stays for the next start.
        ShowErrorMessage(error.Message);
    }
}

void TMainForm::BCloseClick(TObject*) {
    Close();
}

void TMainForm::BExecLintClick(TObject*) {
    if (Settings.OutputFile.empty()) {
        ShowErrorMessage(ResetFailure.empty() ? NoOutputFile : ResetFailure);
        return;
    }
    ExecuteBatch();
}

namespace {

// The batch run as the main window shows it: the pages are the list's items, the status is the
// status line, and the progress is shown where the desktop shows it (paused while the menu
// holds the run, cleared at the end).
class TMainFormRunView : public TBatchRunView {
public:
    explicit TMainFormRunView(TMainForm& form) : Form(form) {
        Form.PopupMenu->OnPopup = [this](TObject*) {
            ShowTaskProgress(Form, {TProgressState::Paused, Progress.Done, Progress.Total});
        };
        Form.PopupMenu->OnClose = [this](TObject*) { ShowTaskProgress(Form, Progress); };
    }
    ~TMainFormRunView() override {
        Form.PopupMenu->OnPopup = nullptr;
        Form.PopupMenu->OnClose = nullptr;
        ShowTaskProgress(Form, {});
    }
    TMainFormRunView(const TMainFormRunView&) = delete;
    TMainFormRunView& operator=(const TMainFormRunView&) = delete;

    int PageCount() const override { return Form.CLBLintFile->Items().Count(); }
    std::string Page(int index) const override { return Form.CLBLintFile->Items()[index]; }
    bool PageChecked(int index) const override { return Form.CLBLintFile->ItemChecked(index); }
    void UncheckPage(int index) override { Form.CLBLintFile->SetItemChecked(index, false); }
    std::optional<unsigned> CheckChanges() const override {
        return Form.CLBLintFile->CheckChanges();
    }
    void ShowPageInProgress(int index) override {
        TCheckListBox& list = *Form.CLBLintFile;
        const int top = FollowingTop(list.TopIndex(), list.VisibleItemCount(), index, Previous);
        Previous = index;
        // Painted with the rest of the window, not at once: the list is not worth a paint of
        // its own for every page.
        list.SetTopIndex(top);
    }
    void ShowStatus(const std::string& text) override {
        Form.LStatus->SetText(text);
        Form.LStatus->Update();
    }
    void ShowProgress(int done, int total) override {
        Progress = {TProgressState::Normal, done, total};
        ShowTaskProgress(Form, Progress);
    }
    void PauseBetweenPages() override { Application->ProcessMessages(); }
    void WaitForChecker(TProcessHandle process) override {
        Application->WaitForProcessEnd(process);
        if (Form.StopAsked()) {
            throw ERunStopped();
        }
    }
    bool AskRetry(const std::string& message) override { return ::AskRetry(message); }
    bool OpenResult(const std::string& path) override { return ShellOpen(path); }
    bool StopRequested() const override { return Form.StopAsked(); }
    void ShowWarning(const std::string& message) override { ShowWarningMessage(message, {}); }

private:
    TMainForm& Form;
    TTaskProgress Progress;
    std::optional<int> Previous;
};

} // namespace

void TMainForm::ExecuteBatch() {
    // The start button stays off, since one program start allows one run.
    BExecLint->SetEnabled(false);
    RefuseSessionEnd(RunUnderWay);
    OnCloseQuery = [this] { return AskToStop(); };
    // Whatever ends the run, the window closes as usual afterwards.
    struct TReopen {
        TMainForm& Form;
        ~TReopen() {
            Form.OnCloseQuery = nullptr;
            Form.RefuseSessionEnd({});
        }
    } reopen{*this};
    {
        TMainFormRunView view(*this);
        std::optional<TContinuedRun> continued;
        if (Continued) {
            continued.emplace(TContinuedRun{Continued->Content, Continued->Id});
        }
        RunBatch(Settings, RunSettingsOf(*SiteDirs, Settings), view,
                 continued ? &*continued : nullptr);
    }
    if (StopChosen) {
        OnCloseQuery = nullptr;
        Close();
    }
}

// A close request during the run: the run stops once the user agrees, also while a checker
// runs, and the window closes after it. The window itself stays until then.
bool TMainForm::AskToStop() {
    if (!StopChosen && AskYesNo(StopQuestion)) {
        StopChosen = true;
        Application->InterruptWait();
    }
    return false;
}

void TMainForm::SetAllChecked(bool checked) {
    for (int i = 0; i < CLBLintFile->Items().Count(); ++i) {
        CLBLintFile->SetItemChecked(i, checked);
    }
}

void TMainForm::PMCLearClick(TObject*) {
    SetAllChecked(false);
}

void TMainForm::PMAllCheckClick(TObject*) {
    SetAllChecked(true);
}

// The pages edited since their last check, by the record beside the output file; a record that
// cannot be trusted is set aside, named, and every page counts as changed.
void TMainForm::PMChangedCheckClick(TObject*) {
    auto& items = CLBLintFile->Items();
    std::vector<std::string> pages;
    for (int i = 0; i < items.Count(); ++i) {
        pages.push_back(items[i]);
    }
    std::vector<char> changed(pages.size(), 1);
    try {
        std::string setAside;
        changed = ChangedPages(pages, Settings, setAside);
        if (!setAside.empty()) {
            ShowErrorMessage(
                CheckRecordSetAsideText(CheckRecordPathFor(Settings.OutputFile), setAside));
        }
    } catch (const EInOutError& error) {
        ShowErrorMessage(error.Message);
    }
    int count = 0;
    for (std::size_t i = 0; i < changed.size(); ++i) {
        CLBLintFile->SetItemChecked(static_cast<int>(i), changed[i] != 0);
        count += changed[i] != 0 ? 1 : 0;
    }
    LStatus->SetText(StatusChangedChecked(count, items.Count()));
}

void TMainForm::SiteItemClick(TObject* sender) {
    const std::string& site = (*SiteDirs)[static_cast<TMenuItem*>(sender)->Tag];
    for (int i = 0; i < CLBLintFile->Items().Count(); ++i) {
        CLBLintFile->SetItemChecked(i, InSite(CLBLintFile->Items()[i], site));
    }
}
