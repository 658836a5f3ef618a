// The enumeration on Windows: the system's own attribute words.
#include "find_file_helpers.h"
#include "platform/win32/windows_api.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// The word comes from the system as it stands, with whatever bits it holds beyond the six.
TEST(FindFileWords, EachEntryCarriesTheSystemsOwnAttributeWord) {
    TTempDir dir;
    const std::map<std::string, DWORD> set = {
        {"plain.txt", 0},
        {"hidden.txt", FILE_ATTRIBUTE_HIDDEN},
        {"system.txt", FILE_ATTRIBUTE_SYSTEM},
        {"readonly.txt", FILE_ATTRIBUTE_READONLY},
        {"folder", FILE_ATTRIBUTE_DIRECTORY},
        {"hiddenfolder", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN},
    };
    std::map<std::string, int> expected;
    for (const auto& [name, attr] : set) {
        std::string path =
            (attr & FILE_ATTRIBUTE_DIRECTORY) ? dir.MakeDir(name) : dir.Write(name, "x");
        if (attr & ~FILE_ATTRIBUTE_DIRECTORY) {
            ASSERT_TRUE(SetFileAttributesA(path.c_str(), attr & ~FILE_ATTRIBUTE_DIRECTORY));
        }
        expected[name] = static_cast<int>(GetFileAttributesA(path.c_str()));
        EXPECT_EQ(expected[name] & (faAnyFile & ~faArchive), static_cast<int>(attr)) << name;
    }
    TFound found = Enumerate(dir.Path() + "*.*", faAnyFile);
    found.Attr.erase(".");
    found.Attr.erase("..");
    EXPECT_EQ(found.Attr, expected);
    // Request 16: no hidden or system entry, directories included.
    Strings ordinary = Enumerate(dir.Path() + "*", faDirectory).Names;
    std::sort(ordinary.begin(), ordinary.end());
    EXPECT_EQ(ordinary, (Strings{".", "..", "folder", "plain.txt", "readonly.txt"}));
}

} // namespace
