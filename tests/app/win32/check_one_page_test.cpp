#include "check_one_page_fixture.h"

#include <gtest/gtest.h>

namespace {

// A run of many pages leaves the screen and the keyboard alone: each checker's console of its
// own opens minimised and is never made the active window.
TEST_F(CheckOnePageTest, TheCheckersConsoleOpensMinimisedAndInactive) {
    EXPECT_EQ(CheckOnePage(Checker("startup"), "a.html"), "flags 1 show 7");
}

} // namespace
