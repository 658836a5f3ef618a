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

// The checker is waited for, then each process it started, never the host of its console
// (which ends a third of a second later under Wine). A waiter that gives up (the user stopped
// the run) gets its exception back once the checker and all it started have ended, so that
// none of them writes a report afterwards.
TEST_F(CheckOnePageTest, EachOfTheCheckersProcessesIsWaitedForOrEnded) {
    struct TStopped {};
    const std::string never = "wait-for \"" + Dir.Path() + "never\"";
    const struct {
        std::string Action;
        int Waits, GivenUpAt; // 0: never; those given up come first, and write nothing
    } cases[] = {{never, 1, 1}, {"late", 2, 2}, {"report", 1, 0}, {"late", 2, 0}};
    for (const auto& c : cases) {
        int waits = 0;
        HANDLE givenUp = nullptr;
        bool thrown = false;
        const TProcessWaiter wait = [&](TProcessHandle process) {
            if (++waits != c.GivenUpAt) {
                BlockUntilEnded(process);
                return;
            }
            DuplicateHandle(GetCurrentProcess(), reinterpret_cast<HANDLE>(process),
                            GetCurrentProcess(), &givenUp, SYNCHRONIZE, FALSE, 0);
            throw TStopped{};
        };
        try {
            RunCommandOn(Checker(c.Action).LintProgram, "a.html", wait);
        } catch (const TStopped&) {
            thrown = true;
            EXPECT_EQ(WaitForSingleObject(givenUp, 0), WAIT_OBJECT_0) << c.Action << " runs";
            CloseHandle(givenUp);
            EXPECT_EQ(ReadAll(Output), "") << c.Action;
        }
        EXPECT_EQ(waits, c.Waits) << c.Action;
        EXPECT_EQ(thrown, c.GivenUpAt > 0) << c.Action;
    }
}

} // namespace
