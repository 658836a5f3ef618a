#include "settings/site_settings.h"

#include "platform/executable.h"
#include "platform/file_names.h"
#include "platform/ini_file.h"
#include "settings/ini_lookup.h"

namespace {
// The report's default brackets, in the platform's narrow encoding (UTF-8 here).
const std::string DefaultOpenParen = "\xE3\x80\x90";  // 【
const std::string DefaultCloseParen = "\xE3\x80\x91"; // 】
} // namespace

std::string CompanionSettingsPath() {
    return ExtractFilePath(ExeName()) + "KESTOLA.INI";
}

std::string OwnSettingsPath() {
    return ChangeFileExt(ExeName(), ".INI");
}

TStringList ReadSiteDirs(const std::string& companionFile) {
    TStringList written;
    written.SetCommaText(ReadIniString(companionFile, "Directory", "LocalPath", ""));
    TStringList siteDirs;
    for (const std::string& dir : written) {
        if (!dir.empty()) {
            siteDirs.Add(dir);
        }
    }
    return siteDirs;
}

TProgramSettings ReadProgramSettings(const std::string& ownFile) {
    TIniFile ini(ownFile);
    TProgramSettings settings;
    settings.LintProgram = ini.ReadString("Program", "VornaxelBatch", "");
    settings.OutputFile = ini.ReadString("Program", "OutputFile", "");
    settings.OpenParen = ini.ReadString("Program", "OpenParen", DefaultOpenParen);
    settings.CloseParen = ini.ReadString("Program", "CloseParen", DefaultCloseParen);
    return settings;
}
