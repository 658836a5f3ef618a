// One page's check with what only Linux has.
#include "check_one_page_fixture.h"

#include "platform/narrow_text.h"

namespace {

// A FIFO put in the output file's place is never opened as one waits for a writer, neither to
// read the report nor to empty the file for the next page: the sections say why, and the run
// goes on.
TEST_F(CheckOnePageTest, AFifoInTheOutputFilesPlaceIsNotWaitedOn) {
    const std::string section = CheckOnePage(Checker("fifo"), Dir.Path() + "a.html");
    EXPECT_NE(section.find(NarrowText("置き換えられたか消されたので読みません")), std::string::npos)
        << section;
    const std::string next = CheckOnePage(Checker("report"), Dir.Path() + "b.html");
    EXPECT_EQ(next.rfind(NarrowText("ﾚﾎﾟｰﾄを空にできませんでした: "), 0), 0u) << next;
}

} // namespace
