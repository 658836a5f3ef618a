#include "settings/sites_and_program.h"

#include "platform/executable.h"
#include "platform/file_names.h"
#include "platform/find_file.h"
#include "platform/ini_file.h"
#include "platform/narrow_text.h"
#include "settings/ini_lookup.h"

std::string CompanionSettingsPath() {
    return ExtractFilePath(ExeName()) + "KESTOLA.INI";
}

std::string OwnSettingsPath() {
    return ChangeFileExt(ExeName(), ".INI");
}

namespace {

// Files beside the missing file named so in other letter case, or with the ".txt" that Notepad
// adds by default and Explorer hides: most likely the file the user made.
std::vector<std::string> LookAlikes(const std::string& missingFile) {
    const std::string name = ExtractFileName(missingFile);
    std::vector<std::string> found;
    TSearchRec rec;
    for (int more = FindFirst(ExtractFilePath(missingFile) + "*", faAnyFile & ~faDirectory, rec);
         more == 0; more = FindNext(rec)) {
        if (rec.ExactName() && rec.Name != name &&
            (MatchesMask(rec.Name, name) || MatchesMask(rec.Name, name + ".txt"))) {
            found.push_back(rec.Name);
        }
    }
    FindClose(rec);
    return found;
}

std::string MissingCompanionNotice(const std::string& path) {
    const std::string name = ExtractFileName(path);
    std::string notice = NarrowText("ｻｲﾄの一覧を書く ") + name +
                         NarrowText(" が見つからないので、ﾁｪｯｸするﾌｧｲﾙはありません。"
                                    "ﾌﾟﾛｸﾞﾗﾑと同じﾌｫﾙﾀﾞを探しました: ") +
                         path;
    for (const std::string& lookAlike : LookAlikes(path)) {
        notice += NarrowText("\n同じﾌｫﾙﾀﾞの ") + lookAlike +
                  NarrowText(" がおそらくそれです。名前を ") + name +
                  NarrowText(" に変えてください。");
    }
    return notice;
}

} // namespace

TStringList ReadSiteDirs(const std::string& companionFile, TSettingsProblems& problems) {
    TSettingsFile file(companionFile, problems);
    const std::optional<std::string_view> value =
        LookupIniString(file.Lines(), "Directory", "LocalPath");
    const std::optional<std::string> usable =
        value ? file.Usable("LocalPath", *value, problems) : std::nullopt;
    TStringList written;
    written.SetCommaText(usable.value_or(""));
    TStringList siteDirs;
    for (const std::string& dir : written) {
        if (!dir.empty()) {
            // Without it the folder would be searched as a name pattern in the folder above.
            siteDirs.Add(IncludeTrailingPathDelimiter(dir));
        }
    }
    // Otherwise the window would just say "0 HTMLﾌｧｲﾙ". A refused file or value is named already.
    if (siteDirs.Count() == 0 && file.Missing()) {
        problems.push_back(MissingCompanionNotice(companionFile));
    } else if (siteDirs.Count() == 0 && file.Read() && (!value || usable)) {
        problems.push_back(ExtractFileName(companionFile) +
                           NarrowText(" にｻｲﾄの一覧 ([Directory] の LocalPath=) がないので、"
                                      "ﾁｪｯｸするﾌｧｲﾙはありません: ") +
                           companionFile);
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
