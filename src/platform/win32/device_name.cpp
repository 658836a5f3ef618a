#include "platform/win32/device_name.h"

#include "platform/find_file.h"

bool IsDeviceName(std::string_view name) {
    std::string_view base = name.substr(0, name.find('.'));
    while (base.ends_with(' ')) {
        base.remove_suffix(1);
    }
    for (std::string_view device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"}) {
        if (MatchesMask(base, device)) {
            return true;
        }
    }
    return (MatchesMask(base, "COM?") || MatchesMask(base, "LPT?")) && base[3] >= '1' &&
           base[3] <= '9';
}
