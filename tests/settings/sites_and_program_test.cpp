#include "platform/executable.h"
#include "platform/file_names.h"
#include "platform/narrow_text.h"
#include "settings/sites_and_program.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using Strings = std::vector<std::string>;

// The default brackets 【 and 】 in the report's encoding, and the paths that the package's
// settings template names.
#ifdef _WIN32
const std::string DefaultOpen = "\x81\x79";
const std::string DefaultClose = "\x81\x7A";
const std::string TemplateChecker =
    R"("C:\Program Files\tidy\bin\tidy.exe" -q -e --show-errors 1000)"
    R"( -f "C:\allcheck\report.txt")";
const std::string TemplateOutput = R"(C:\allcheck\report.txt)";
#else
const std::string DefaultOpen = "\xE3\x80\x90";
const std::string DefaultClose = "\xE3\x80\x91";
const std::string TemplateChecker =
    "tidy -q -e --show-errors 1000 -f /home/user/allcheck/report.txt";
const std::string TemplateOutput = "/home/user/allcheck/report.txt";
#endif

Strings SitesFrom(const TTempDir& dir, std::string_view localPath) {
    TSettingsProblems problems;
    return ReadSiteDirs(dir.Write("KESTOLA.INI",
                                  "[Directory]\r\nLocalPath=" + std::string(localPath) + "\r\n"),
                        problems)
        .Items();
}

TEST(SiteDirs, CommaTextInTheOrderWritten) {
    TTempDir dir;
    EXPECT_EQ(SitesFrom(dir, "/web/b/,/web/a/"), (Strings{"/web/b/", "/web/a/"}));
    EXPECT_EQ(SitesFrom(dir, R"("/web/my site/","/web/日本/")"),
              (Strings{"/web/my site/", "/web/" + NarrowText("日本") + "/"}));
    EXPECT_EQ(SitesFrom(dir, "/web/a/,/web/a/"), (Strings{"/web/a/", "/web/a/"}));
    // Without its final separator a site would be searched as a name pattern in the folder above.
    EXPECT_EQ(SitesFrom(dir, "/web/shop,/web/b/"),
              (Strings{"/web/shop" + std::string(1, PathDelim), "/web/b/"}));
}

TEST(SiteDirs, EmptyEntriesAreDropped) {
    TTempDir dir;
    EXPECT_EQ(SitesFrom(dir, "/web/a/,,/web/b/,"), (Strings{"/web/a/", "/web/b/"}));
    EXPECT_EQ(SitesFrom(dir, R"("",/web/a/)"), Strings{"/web/a/"});
    EXPECT_EQ(SitesFrom(dir, ""), Strings{});
}

// Otherwise the window would only say "0 HTMLﾌｧｲﾙ". Notepad adds ".txt" by default, and Explorer
// hides it.
TEST(SiteDirs, NoCompanionFileGivesNoSitesAndIsNamedWithTheFileThatIsProbablyIt) {
    TTempDir dir;
    dir.Write("KESTOLA.INI.txt", "");
    dir.Write("KESTOLA.txt", "");
    TSettingsProblems problems;
    EXPECT_EQ(ReadSiteDirs(dir.Path() + "KESTOLA.INI", problems).Count(), 0);
    EXPECT_EQ(problems,
              TSettingsProblems{
                  NarrowText("ｻｲﾄの一覧を書く KESTOLA.INI が見つからないので、ﾁｪｯｸするﾌｧｲﾙは"
                             "ありません。ﾌﾟﾛｸﾞﾗﾑと同じﾌｫﾙﾀﾞを探しました: ") +
                  dir.Path() + "KESTOLA.INI" +
                  NarrowText("\n同じﾌｫﾙﾀﾞの KESTOLA.INI.txt がおそらくそれです。名前を "
                             "KESTOLA.INI に変えてください。")});
}

// A list that was refused is named already.
TEST(SiteDirs, AFileWithoutSitesIsNamedUnlessItsListWasRefused) {
    TTempDir dir;
    const std::string noSites = NarrowText("KESTOLA.INI にｻｲﾄの一覧 ([Directory] の LocalPath=) "
                                           "がないので、ﾁｪｯｸするﾌｧｲﾙはありません: ") +
                                dir.Path() + "KESTOLA.INI";
    for (const auto& [content, said] :
         {std::pair{"[Directory]\r\nLocalPath=,\"\",\r\n", true},
          {"[directory]\r\nLocalPath=/web/\r\n", true},
          {"[Directory]\r\nLocalPath=/web/\r\n", false},
          {"\xEF\xBB\xBF[Directory]\r\nLocalPath=/\x93/\r\n", false}}) {
        TSettingsProblems problems;
        ReadSiteDirs(dir.Write("KESTOLA.INI", content), problems);
        EXPECT_EQ(std::count(problems.begin(), problems.end(), noSites), said) << content;
    }
}

TEST(ProgramSettings, ReadsTheFourKeysOrTheirDefaults) {
    TTempDir dir;
    TSettingsProblems problems;
    TProgramSettings read = ReadProgramSettings(
        dir.Write("allcheck.INI", "[Program]\nVornaxelBatch=tidy -q -f /tmp/o.txt\n"
                                  "OutputFile=/tmp/o.txt\nOpenParen=<<\n"),
        problems);
    EXPECT_EQ(read.LintProgram, "tidy -q -f /tmp/o.txt");
    EXPECT_EQ(read.OutputFile, "/tmp/o.txt");
    EXPECT_EQ(read.OpenParen, "<<");
    EXPECT_EQ(read.CloseParen, DefaultClose);

    TProgramSettings defaults = ReadProgramSettings(dir.Path() + "none.INI", problems);
    EXPECT_EQ(defaults.LintProgram, "");
    EXPECT_EQ(defaults.OutputFile, "");
    EXPECT_EQ(defaults.OpenParen, DefaultOpen);
    EXPECT_EQ(defaults.CloseParen, DefaultClose);
    EXPECT_TRUE(problems.empty());
}

TEST(SettingsFiles, SkipAByteOrderMarkAtTheStart) {
    TTempDir dir;
    const std::string bom = "\xEF\xBB\xBF";
    TSettingsProblems problems;
    EXPECT_EQ(ReadSiteDirs(dir.Write("KESTOLA.INI", bom + "[Directory]\r\nLocalPath=/web/a/\r\n"),
                           problems)
                  .Items(),
              Strings{"/web/a/"});
    EXPECT_EQ(ReadProgramSettings(dir.Write("allcheck.INI", bom + "[Program]\nOutputFile=/o.txt\n"),
                                  problems)
                  .OutputFile,
              "/o.txt");
}

// A sparse file of many gigabytes once ended the start in a failed allocation.
TEST(SettingsFiles, AboveTheSizeLimitCountAsMissingAndAreNamedOnce) {
    TTempDir dir;
    const std::string padding(MaxSettingsFileSize, ';');
    const std::string companion =
        dir.Write("KESTOLA.INI", "[Directory]\r\nLocalPath=/web/a/\r\n" + padding);
    const std::string own = dir.Write("allcheck.INI", "[Program]\nOutputFile=/o.txt\n" + padding);
    TSettingsProblems problems;
    EXPECT_EQ(ReadSiteDirs(companion, problems).Count(), 0);
    EXPECT_EQ(ReadProgramSettings(own, problems).OutputFile, "");
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_TRUE(problems[0].ends_with(": " + companion)) << problems[0];
    EXPECT_TRUE(problems[1].ends_with(": " + own)) << problems[1];
    // The limit itself is still read.
    const std::string sites = "[Directory]\r\nLocalPath=/web/a/\r\n";
    dir.Write("KESTOLA.INI", sites + padding.substr(sites.size()));
    EXPECT_EQ(ReadSiteDirs(companion, problems).Items(), Strings{"/web/a/"});
    EXPECT_EQ(problems.size(), 2u);
}

// What Notepad saves: UTF-8 with a mark or without (today's "UTF-8"), or "Unicode", UTF-16 with
// a mark in either byte order.
std::string Utf16(std::u16string_view text, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t c : text) {
        const char high = static_cast<char>(c >> 8), low = static_cast<char>(c & 0xFF);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

// Each is read in the narrow encoding: the code page on Windows, where a character that it
// cannot hold refuses its setting by name rather than standing for another; UTF-8 on Linux.
TEST(SettingsFiles, SavedAsUnicodeAreReadInTheNarrowEncoding) {
    TTempDir dir;
    const std::string nikki = NarrowText("日記");
    TSettingsProblems problems;
    const auto sites = [&](const std::string& bytes) {
        return ReadSiteDirs(dir.Write("KESTOLA.INI", bytes), problems).Items();
    };
    EXPECT_EQ(sites("\xEF\xBB\xBF[Directory]\r\nLocalPath=/日記/,/web/\r\n"),
              (Strings{"/" + nikki + "/", "/web/"}));
    EXPECT_EQ(sites("[Directory]\r\nLocalPath=/日記/\r\n"), Strings{"/" + nikki + "/"});
    EXPECT_EQ(ReadProgramSettings(
                  dir.Write("allcheck.INI", Utf16(u"[Program]\r\nOutputFile=/日記/o.txt\r\n"
                                                  u"VornaxelBatch=/\U0002000B/c\r\n",
                                                  true)),
                  problems)
                  .OutputFile,
              "/" + nikki + "/o.txt");
    // Without a mark, bytes that are no UTF-8 are the narrow encoding's own: on Windows 日記 in
    // code page 932, which no UTF-8 reading may spoil.
    EXPECT_EQ(sites("[Directory]\r\nLocalPath=/\x93\xFA\x8B\x4C/\r\n"),
              Strings{"/\x93\xFA\x8B\x4C/"});
    // A file marked as UTF-8 whose bytes are not UTF-8 says so, for that setting alone.
    const std::string own =
        dir.Write("allcheck.INI", "\xEF\xBB\xBF[Program]\nOutputFile=/\x93\xFA/o\n"
                                  "OpenParen=<<\n");
    const TProgramSettings marked = ReadProgramSettings(own, problems);
    EXPECT_EQ(marked.OutputFile, "");
    EXPECT_EQ(marked.OpenParen, "<<");
#ifdef _WIN32
    // No look-alike stands in for a character that the code page lacks: "e" for "é", "\" for "¥".
    const Strings cafe{};
    const std::string yen = DefaultOpen;
    const Strings expected{"VornaxelBatch ", "OutputFile ", "LocalPath ", "OpenParen "};
#else
    const Strings cafe{"/café/", "/web/"};
    const std::string yen = "¥";
    const Strings expected{"OutputFile "};
#endif
    EXPECT_EQ(sites(Utf16(u"[Directory]\r\nLocalPath=/café/,/web/\r\n", false)), cafe);
    const TProgramSettings unmarked = ReadProgramSettings(
        dir.Write("allcheck.INI", "[Program]\nOutputFile=/日記/o.txt\nOpenParen=¥\n"), problems);
    EXPECT_EQ(unmarked.OutputFile, "/" + nikki + "/o.txt");
    EXPECT_EQ(unmarked.OpenParen, yen);
    ASSERT_EQ(problems.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_TRUE(problems[i].starts_with(NarrowText("設定 ") + expected[i])) << problems[i];
    }
    // Only a file read as UTF-8 for want of a mark says so, and how to save it to be read as
    // meant: on Windows, the unmarked file's OpenParen.
    for (const std::string& problem : problems) {
        EXPECT_EQ(problem.find(NarrowText("BOMがなく、UTF-8として正しいﾊﾞｲﾄ列なのでUTF-8として"
                                          "読みました。")) != std::string::npos,
                  problem.starts_with(NarrowText("設定 OpenParen ")))
            << problem;
    }
    EXPECT_EQ(std::count_if(problems.begin(), problems.end(),
                            [](const std::string& problem) {
                                return problem.starts_with(
                                    NarrowText("設定 OutputFile にUTF-8として正しくないﾊﾞｲﾄがある"
                                               "ので使いません: "));
                            }),
              1);
}

// The template that the package ships, copied beside this test by the build, read as the
// program reads its own file once the user has named the copy allcheck.INI.
TEST(SettingsTemplate, GivesTheSettingsItDocuments) {
    TSettingsProblems problems;
    TProgramSettings read =
        ReadProgramSettings(ExtractFilePath(ExeName()) + SETTINGS_TEMPLATE_NAME, problems);
    EXPECT_EQ(problems, TSettingsProblems{});
    EXPECT_EQ(read.LintProgram, TemplateChecker);
    EXPECT_EQ(read.OutputFile, TemplateOutput);
    EXPECT_EQ(read.OpenParen, DefaultOpen);
    EXPECT_EQ(read.CloseParen, DefaultClose);
}

} // namespace
