#include "main_form_fixture.h"

#include <filesystem>

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

} // namespace
