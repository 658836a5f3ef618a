#include "main_form_fixture.h"

#include "platform/win32/wide_text.h"

#include <algorithm>

namespace {

// Windows reads "/" as a separator: a site written with it lists its own pages, by their full
// paths, under its own name.
TEST_F(MainFormTest, ASiteWrittenWithSlashesListsItsOwnPages) {
    Dir.Write("sites/one/a.html", "");
    Dir.Write("sites/one/sub/b.html", "");
    std::string site = Path("sites/one/");
    std::replace(site.begin(), site.end(), '\\', '/');
    Configure(site);
    TMainForm* form = StartAndScan();
    EXPECT_EQ(Items(*form), (Strings{site + "a.html", site + "sub\\b.html"}));
    ASSERT_NE(SiteItem(*form, "one"), nullptr);
    form->PMCLear->Click();
    SiteItem(*form, "one")->Click();
    EXPECT_EQ(Checked(*form), Items(*form));
}

// Makes an empty file and the folders it needs at path, a full path in UTF-16 of any length,
// with names whatever the code page holds.
void WriteWide(const std::wstring& path) {
    const std::wstring system = L"\\\\?\\" + path;
    for (std::size_t end = system.find(L'\\', 7); end != std::wstring::npos;
         end = system.find(L'\\', end + 1)) {
        CreateDirectoryW(system.substr(0, end).c_str(), nullptr);
    }
    CloseHandle(CreateFileW(system.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
}

Strings Lines(const std::string& text) {
    Strings lines;
    for (std::size_t start = 0, end; start <= text.size(); start = end + 1) {
        end = std::min(text.find('\n', start), text.size());
        lines.push_back(text.substr(start, end - start));
    }
    return lines;
}

// The system's own conversion listed "café.html" as "cafe.html", another page, "¥.html" as
// "\.html", and the pages of CJK or Thai names all as one "?.html"; paths of 260 characters
// and more were missing. Under Wine, as on Windows without long paths enabled, such a path
// cannot be handed on either. A page named like a device opens the device by its path, in any
// folder: only a path with "\\?\" in front makes or reaches it.
TEST_F(MainFormTest, PagesTheProgramCannotNameAreLeftOutAndNamedAfterTheScan) {
    Dir.Write("site/cafe.html", "");
    const std::string site = Path("site/");
    Strings leftOut;
    for (const char* name : {"café.html", "¥.html", "丂.html", "한.html", "ก.html", "丂1.html",
                             "丂2.html", "丂3.html", "丂4.html", "丂5.html", "丂6.html", "con.html",
                             "AUX.html", "com1.html", "nul.htm", "CONIN$.html", "con.tar.html"}) {
        WriteWide(Widen(CP_UTF8, site + name));
        leftOut.push_back(site + name);
    }
    WriteWide(Widen(CP_UTF8, site + "丂丂\\in.html"));
    leftOut.push_back(site + "丂丂\\"); // a folder is left out whole
    const std::string longPath = site + std::string(60, 'x') + "\\" + std::string(60, 'y') + "\\" +
                                 std::string(60, 'z') + "\\" + std::string(60, 'w') + "\\long.html";
    WriteWide(Widen(CP_UTF8, longPath));
    leftOut.push_back(longPath);
    // MAX_PATH counts the closing NUL: a path of exactly 260 characters is one too long.
    const std::string just260 = site + std::string(260 - site.size() - 5, 'v') + ".html";
    WriteWide(Widen(CP_UTF8, just260));
    leftOut.push_back(just260);
    Configure(site);
    TMessageBoxes boxes;
    TMainForm* form = StartAndScan();
    EXPECT_EQ(Items(*form), Strings{Path("site/cafe.html")});
    ASSERT_EQ(boxes.Texts.size(), 1u);
    const Strings lines = Lines(boxes.Texts[0]);
    ASSERT_EQ(lines.size(), 12u) << boxes.Texts[0];
    EXPECT_TRUE(lines[0].starts_with("次の 20 件は")) << lines[0];
    for (std::size_t i = 1; i <= 10; ++i) {
        EXPECT_EQ(std::count(leftOut.begin(), leftOut.end(), lines[i]), 1) << lines[i];
        EXPECT_EQ(std::count(lines.begin(), lines.end(), lines[i]), 1) << lines[i];
    }
    EXPECT_EQ(lines[11], "ほか 10 件");
}

} // namespace
