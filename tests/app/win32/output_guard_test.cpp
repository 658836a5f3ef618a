// The output file's rule on Windows: letter case, the system's spellings and devices.
#include "output_guard_fixture.h"

#include "platform/narrow_text.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// Names that differ in letter case are one file on Windows, and a device has attributes too.
TEST_F(OutputGuard, RefusesOtherSpellingsAndLetterCasesAndWhatIsNoRegularFile) {
    Dir.MakeDir("sub");
    EXPECT_TRUE(Refused(Dir.Path() + "sub\\..\\kestola.ini"));
    EXPECT_TRUE(Refused(Dir.Path() + "WEB\\New\\report.HTM"));
    EXPECT_FALSE(Refused(Dir.Path() + "WEB\\report.txt"));
    EXPECT_FALSE(Refused(Dir.Path() + "a.html"));
    EXPECT_TRUE(Refused(Dir.MakeDir("folder")));
    EXPECT_FALSE(Refused(Dir.Path() + "out.txt"));
}

// The system reads "/" as a separator and drops the dots and blanks that end a name: the rule
// sees the name the system would open.
TEST_F(OutputGuard, RefusesAPageNameWrittenWithSlashesOrEndingInDotsAndBlanks) {
    std::string slashed = Dir.Path();
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    const std::string page = Dir.Path() + "web\\new.html";
    for (const std::string& spelled :
         {slashed + "web/new.html", Dir.Path() + "web/new.html", page + ".", page + ". ."}) {
        EXPECT_EQ(Refusal(spelled), NarrowText("出力ﾌｧｲﾙがｻｲﾄ ") + Sites[0] +
                                        NarrowText(" のHTMLﾌｧｲﾙなので使いません: ") + page)
            << spelled;
    }
    EXPECT_FALSE(Refused(Dir.Path() + "web\\new.txt. ."));
}

// A device's name is no file in any folder, with any extension: refused before it is opened.
TEST_F(OutputGuard, RefusesADevicesNameInAnyFolderWithOrWithoutExtension) {
    for (const std::string& device :
         {std::string("CON"), std::string("PRN"), std::string("LPT1"), std::string("CONIN$"),
          std::string("con.txt"), std::string("\\\\.\\NUL"), std::string("\\\\.\\PhysicalDrive0"),
          Dir.Path() + "Aux .log", Dir.Path() + "missing\\com9.txt"}) {
        EXPECT_EQ(Refusal(device),
                  NarrowText("出力ﾌｧｲﾙが通常のﾌｧｲﾙではないので使いません: ") + device);
    }
    EXPECT_FALSE(Refused(Dir.Path() + "console.txt"));
    EXPECT_FALSE(Refused(Dir.Path() + "com10.txt"));
    EXPECT_FALSE(Refused("\\\\?\\" + Dir.Path() + "out.txt"));
}

} // namespace
