#include "platform/executable.h"
#include "platform/file_names.h"
#include "platform/win32/wide_text.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace {

// Started from a folder whose name the code page cannot hold, the program reads no settings:
// it sees that, and can say so with the folder's real name. The fake checker stands in for it.
TEST(ProgramFolder, WhoseNameTheCodePageCannotHoldIsSeen) {
    TTempDir dir;
    const std::string output = dir.Path() + "out.txt";
    const auto run = [&](const std::wstring& program) {
        std::wstring command = L"\"" + program + L"\" \"" + Widen(CP_ACP, output) + L"\" exe-name";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        EXPECT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                   nullptr, &startup, &process));
        WaitForSingleObject(process.hProcess, INFINITE);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return ReadAll(output);
    };
    const std::wstring checker = Widen(CP_ACP, ExtractFilePath(ExeName()) + FAKE_CHECKER_NAME);
    EXPECT_EQ(run(checker), "");
    const std::wstring folder = Widen(CP_ACP, dir.Path()) + L"\uD55C\uAE00"; // 한글
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    const std::wstring copy = folder + L"\\allcheck.exe";
    ASSERT_TRUE(CopyFileW(checker.c_str(), copy.c_str(), FALSE));
    EXPECT_EQ(run(copy), dir.Path() + "한글\\allcheck.exe");
}

} // namespace
