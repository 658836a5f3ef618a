#include "main_form_fixture.h"

#include <filesystem>
#include <unistd.h>

namespace {

// Linux file names tell letter case apart: a site written in another case is another site.
TEST_F(MainFormTest, ASiteWrittenInOtherLetterCaseChecksOnlyWhatItListed) {
    Dir.Write("web/shop/s.html", "");
    std::filesystem::create_directory_symlink(Path("web/shop"), Path("web/Shop"));
    Configure(Path("web/shop/") + "," + Path("web/Shop/"));
    TMainForm* form = StartAndScan();
    EXPECT_EQ(Items(*form), (Strings{Path("web/shop/s.html"), Path("web/Shop/s.html")}));
    SiteItem(*form, "Shop")->Click();
    EXPECT_EQ(Checked(*form), Strings{Path("web/Shop/s.html")});
}

// Without its lock, a start would run beside another on the same file: it says why and ends,
// touching nothing.
TEST_F(MainFormTest, AStartThatCannotTakeTheLockSaysWhyAndTouchesNothing) {
    Dir.Write("site/a.html", "");
    const std::string output = Dir.Write("out.txt", "previous report");
    Configure(Path("site/"), output);
    const std::string planted = Dir.Write("lock-base/allcheck-" + std::to_string(::geteuid()), "");
    TMessageBoxes boxes;
    TMainForm* form = Create();
    EXPECT_TRUE(form->SecondStart);
    ASSERT_EQ(boxes.Texts.size(), 1u);
    EXPECT_NE(boxes.Texts[0].find(planted), std::string::npos) << boxes.Texts[0];
    EXPECT_EQ(ReadAll(output), "previous report");
}

} // namespace
