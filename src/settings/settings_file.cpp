#include "settings/settings_file.h"

#include "platform/exceptions.h"
#include "platform/file_io.h"
#include "platform/narrow_text.h"

#include <algorithm>

namespace {

// Without a mark, a file is UTF-8 when it reads as UTF-8 and has a byte that plain ASCII lacks,
// as Notepad decides when it opens one; any other file is in the narrow encoding.
bool ReadsAsUtf8(std::string_view bytes) {
    return std::any_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) > 0x7F; }) &&
           IsValidUtf8(bytes);
}

} // namespace

TSettingsFile::TSettingsFile(const std::string& path, TSettingsProblems& problems) : Path(path) {
    std::string bytes;
    try {
        std::optional<TFile> file = TFile::OpenRegular(path);
        if (!file) {
            NoFile = true;
            return;
        }
        const std::uint64_t size = file->Size();
        if (size > MaxSettingsFileSize) {
            problems.push_back(NarrowText("設定ﾌｧｲﾙが大きすぎるので読みません: ") + path);
            return;
        }
        bytes = file->ReadExactly(size);
    } catch (const EInOutError& error) {
        problems.push_back(NarrowText("設定ﾌｧｲﾙが読めないので使いません (") + error.Message +
                           "): " + path);
        return;
    }
    WasRead = true;
    if (std::optional<std::string> text = MarkedTextAsUtf8(bytes)) {
        Unicode = true;
        FileLines.SetText(*text);
    } else {
        Unicode = Unmarked = ReadsAsUtf8(bytes);
        FileLines.SetText(bytes);
    }
}

std::optional<std::string> TSettingsFile::Usable(std::string_view key, std::string_view value,
                                                 TSettingsProblems& problems) const {
    if (Unicode && !IsValidUtf8(value)) {
        problems.push_back(NarrowText("設定 ") + std::string(key) +
                           NarrowText(" にUTF-8として正しくないﾊﾞｲﾄがあるので使いません: ") + Path);
        return std::nullopt;
    }
    std::optional<std::string> narrow = Unicode ? NarrowFromUtf8(value) : std::string(value);
    if (!narrow) {
        // A file saved as ANSI whose bytes happen to be valid UTF-8 (two half-width katakana of
        // code page 932 may be one UTF-8 character) ends here: the user must learn how it was
        // read to save it so that it reads as meant.
        const std::string howRead =
            Unmarked
                ? NarrowText("\nBOMがなく、UTF-8として正しいﾊﾞｲﾄ列なのでUTF-8として読みました。"
                             "ANSIで書いたのなら、ﾒﾓ帳の「開く」で文字ｺｰﾄﾞに「ANSI」を選んで"
                             "開き、「UTF-8 (BOM 付き)」で保存し直してください。")
                : std::string();
        problems.push_back(NarrowText("設定 ") + std::string(key) +
                           NarrowText(" にｼｽﾃﾑの文字ｺｰﾄﾞで表せない文字があるので使いません: ") +
                           Path + howRead);
    } else if (narrow->find('\0') != std::string::npos) {
        problems.push_back(NarrowText("設定 ") + std::string(key) +
                           NarrowText(" にNUL文字があるので使いません: ") + Path);
        narrow.reset();
    }
    return narrow;
}
