#include "settings/settings_file.h"

#include "platform/exceptions.h"
#include "platform/file_io.h"
#include "platform/narrow_text.h"

TSettingsFile::TSettingsFile(const std::string& path, TSettingsProblems& problems) : Path(path) {
    std::string bytes;
    try {
        std::optional<TFile> file = TFile::OpenRegular(path);
        if (!file) {
            return;
        }
        const std::uint64_t size = file->Size();
        if (size > MaxSettingsFileSize) {
            problems.push_back(NarrowText("設定ﾌｧｲﾙが大きすぎるので読みません: ") + path);
            return;
        }
        bytes = file->ReadExactly(size);
    } catch (const EInOutError&) {
        return;
    }
    if (std::optional<std::string> text = MarkedTextAsUtf8(bytes)) {
        Unicode = true;
        FileLines.SetText(*text);
    } else {
        FileLines.SetText(bytes);
    }
}

std::optional<std::string> TSettingsFile::Usable(std::string_view key, std::string_view value,
                                                 TSettingsProblems& problems) const {
    std::optional<std::string> narrow = Unicode ? NarrowFromUtf8(value) : std::string(value);
    if (!narrow) {
        problems.push_back(NarrowText("設定 ") + std::string(key) +
                           NarrowText(" にｼｽﾃﾑの文字ｺｰﾄﾞで表せない文字があるので使いません: ") +
                           Path);
    } else if (narrow->find('\0') != std::string::npos) {
        problems.push_back(NarrowText("設定 ") + std::string(key) +
                           NarrowText(" にNUL文字があるので使いません: ") + Path);
        narrow.reset();
    }
    return narrow;
}
