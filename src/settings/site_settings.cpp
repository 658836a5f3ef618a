#include "settings/site_settings.h"

#include "platform/executable.h"
#include "platform/file_names.h"
#include "platform/ini_file.h"
#include "platform/narrow_text.h"
#include "settings/ini_lookup.h"

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
    // The default brackets are in the report's encoding, like the rest of the report.
    settings.OpenParen = ini.ReadString("Program", "OpenParen", ReportText("【"));
    settings.CloseParen = ini.ReadString("Program", "CloseParen", ReportText("】"));
    return settings;
}
