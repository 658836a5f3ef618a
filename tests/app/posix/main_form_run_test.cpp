#include "main_form_run_fixture.h"

#include <filesystem>

namespace {

// No shell ever sees a Linux file name, whose bytes may be anything but "/" and NUL.
TEST_F(MainFormRunTest, APathWithShellCharactersArrivesAsOneArgument) {
    const std::string page = "x $(touch pwned); y'z\" `id` *.html";
    TMainForm* form = Prepare({page});
    Click(*form->BExecLint);
    EXPECT_EQ(ReadAll(Path("out.txt")), Section(Path("site/" + page)));
    EXPECT_FALSE(std::filesystem::exists(Path("pwned")));
}

} // namespace
