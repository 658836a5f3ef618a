#include "settings/sites_and_program.h"

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

TStringList ReadSiteDirs(const std::string& companionFile, TSettingsProblems& problems) {
    TStringList written;
    written.SetCommaText(ReadIniString(companionFile, "Directory", "LocalPath", "", problems));
    TStringList siteDirs;
    for (const std::string& dir : written) {
        if (!dir.empty()) {
            // Without it the folder would be searched as a name pattern in the folder above.
            siteDirs.Add(IncludeTrailingPathDelimiter(dir));
        }
    }
    return siteDirs;
}

TProgramSettings ReadProgramSettings(const std::string& ownFile, TSettingsProblems& problems) {
    TSettingsFile file(ownFile, problems);
    TIniFile ini(file.Lines());
    auto read = [&](const char* key, std::string defaultValue) {
        if (!ini.ValueExists("Program", key)) {
            return defaultValue;
        }
        return file.Usable(key, ini.ReadString("Program", key, ""), problems)
            .value_or(std::move(defaultValue));
    };
    TProgramSettings settings;
    settings.LintProgram = read("VornaxelBatch", "");
    settings.OutputFile = read("OutputFile", "");
    // The default brackets are in the report's encoding, like the rest of the report.
    settings.OpenParen = read("OpenParen", NarrowText("【"));
    settings.CloseParen = read("CloseParen", NarrowText("】"));
    return settings;
}
