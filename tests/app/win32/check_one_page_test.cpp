#include "check_one_page_fixture.h"

#include "fake_checker.h"
#include "platform/win32/windows_api.h"

#include <gtest/gtest.h>

namespace {

// A run of many pages leaves the screen and the keyboard alone: each checker's console of its
// own opens minimised and is never made the active window.
TEST_F(CheckOnePageTest, TheCheckersConsoleOpensMinimisedAndInactive) {
    EXPECT_EQ(CheckOnePage(Checker("startup"), "a.html"), "flags 1 show 7");
}

// The checker is waited for, then each process it started; never the host of its console,
// which ends in its own time, a third of a second later under Wine.
TEST_F(CheckOnePageTest, OnlyTheCheckersOwnProcessesAreWaitedFor) {
    const struct {
        const char* Action;
        int Waits;
    } cases[] = {{"report", 1}, {"late", 2}};
    for (const auto& c : cases) {
        int waits = 0;
        CheckOnePage(Checker(c.Action), "a.html", [&](TProcessHandle process) {
            ++waits;
            BlockUntilEnded(process);
        });
        EXPECT_EQ(waits, c.Waits) << c.Action;
    }
}

// A waiter that gives up (the user stopped the run) gets its exception back once the checker
// and what it started have ended: none of them writes a report afterwards. Given up while the
// checker runs, and while the copy that it started runs after it.
TEST_F(CheckOnePageTest, AWaitGivenUpEndsTheCheckerAndWhatItStarted) {
    struct TStopped {};
    const std::string never = Dir.Path() + "never";
    const struct {
        std::string Action;
        int GivenUpAt;
    } cases[] = {{"wait-for \"" + never + "\"", 1}, {"late", 2}};
    for (const auto& c : cases) {
        int waits = 0;
        HANDLE waited = nullptr;
        const TProcessWaiter givingUp = [&](TProcessHandle process) {
            if (++waits < c.GivenUpAt) {
                BlockUntilEnded(process);
                return;
            }
            DuplicateHandle(GetCurrentProcess(), reinterpret_cast<HANDLE>(process),
                            GetCurrentProcess(), &waited, SYNCHRONIZE, FALSE, 0);
            throw TStopped{};
        };
        EXPECT_THROW(RunCommandOn(Checker(c.Action).LintProgram, "a.html", givingUp), TStopped)
            << c.Action;
        ASSERT_NE(waited, nullptr) << c.Action;
        EXPECT_EQ(WaitForSingleObject(waited, 0), WAIT_OBJECT_0) << c.Action << " still runs";
        CloseHandle(waited);
        EXPECT_EQ(ReadAll(Output), "") << c.Action;
    }
}

} // namespace
