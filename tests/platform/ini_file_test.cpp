#include "platform/ini_file.h"

#include <gtest/gtest.h>

namespace {

TEST(IniFile, NamesMatchWithoutLetterCaseAndBlanksAreTrimmed) {
    TIniFile ini = TIniFile::FromText(" [ program ]\r\n  OutputFile  =  /tmp/out.txt \r\n");
    EXPECT_EQ(ini.ReadString("Program", "outputfile", "-"), "/tmp/out.txt");
}

TEST(IniFile, CommentsOtherSectionsAndLaterDuplicatesDoNotCount) {
    TIniFile ini = TIniFile::FromText("[Other]\nKey=other\n[Program]\n;Key=comment\nKey=first\n"
                                      "Key=second\n[Program]\nKey=third\nNoEquals\n");
    EXPECT_EQ(ini.ReadString("Program", "Key", "-"), "first");
    EXPECT_EQ(ini.ReadString("Program", ";Key", "-"), "-");
    EXPECT_EQ(ini.ReadString("Program", "NoEquals", "-"), "-");
}

TEST(IniFile, AMissingSectionOrKeyGivesTheDefault) {
    TIniFile ini = TIniFile::FromText("[Program]\nKey=\n");
    EXPECT_EQ(ini.ReadString("Program", "Key", "def"), "");
    EXPECT_EQ(ini.ReadString("Program", "Other", "def"), "def");
    EXPECT_EQ(ini.ReadString("Else", "Key", "def"), "def");
}

TEST(IniFile, ValuesKeepEqualsSignsAndHighBytes) {
    TIniFile ini =
        TIniFile::FromText("[Program]\nOpenParen=\xE3\x80\x90=\xFF\nbad[line\n[unclosed\n"
                           "K=v\n");
    EXPECT_EQ(ini.ReadString("Program", "OpenParen", ""), "\xE3\x80\x90=\xFF");
    EXPECT_EQ(ini.ReadString("unclosed", "K", ""), "v");
}

} // namespace
