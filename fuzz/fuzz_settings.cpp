// Feeds arbitrary bytes to everything that reads a settings file: the companion lookup, the
// comma-text split of its value and the reader of the program's own file.
#include "platform/ini_file.h"
#include "platform/string_list.h"
#include "settings/ini_lookup.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);

    TStringList lines;
    lines.SetText(text);
    for (const std::string& line : lines) {
        if (line.find_first_of("\r\n") != std::string::npos) {
            std::abort();
        }
    }
    std::string localPath(LookupIniString(lines, "Directory", "LocalPath").value_or(""));
    TStringList sites;
    sites.SetCommaText(localPath);
    sites.SetCommaText(text);

    TIniFile ini = TIniFile::FromText(text);
    for (const char* key : {"VornaxelBatch", "OutputFile", "OpenParen", "CloseParen"}) {
        ini.ReadString("Program", key, "");
    }
    return 0;
}
