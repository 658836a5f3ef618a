#include "platform/instance_lock.h"
#include "support/temp_dir.h"
#include "support/unprivileged.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <utility>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

// The lock folder is made in a /tmp of the test's own; the user's is never touched.
class InstanceLockTest : public ::testing::Test {
protected:
    InstanceLockTest() {
        fs::permissions(Dir.Path(), fs::perms(0755));
        fs::permissions(Base, fs::perms(01777));
        OverrideLockFolderBase(Base);
    }
    ~InstanceLockTest() override { OverrideLockFolderBase(""); }

    TTempDir Dir;
    std::string Base = Dir.MakeDir("tmp");
    std::string Output = Dir.Write("out.txt", "");
};

// Whatever environment a start comes from, and whatever name it gives the file, it meets the
// lock of the first.
TEST_F(InstanceLockTest, TheSameOutputFileGivesTheSameLockInEveryEnvironment) {
    const char* ours = std::getenv("XDG_RUNTIME_DIR");
    const std::optional<std::string> saved = ours ? std::optional(std::string(ours)) : std::nullopt;
    ::unsetenv("XDG_RUNTIME_DIR");
    TOutputFileLock first(Output);
    ASSERT_FALSE(first.Failed() || first.HeldElsewhere()) << first.FailureText();
    fs::create_symlink(Output, Dir.Path() + "link.txt");
    const std::string ownRuntime = Dir.MakeDir("run");
    fs::permissions(ownRuntime, fs::perms(0700));
    // A name of the output file, and the start's XDG_RUNTIME_DIR.
    for (const auto& [name, runtime] :
         std::vector<std::pair<std::string, std::string>>{{Output, ownRuntime},
                                                          {Output, Dir.Write("runtime-file", "")},
                                                          {Output, "run"},
                                                          {Dir.Path() + "link.txt", ""}}) {
        ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
        TOutputFileLock second(name);
        EXPECT_TRUE(second.HeldElsewhere()) << name << " " << runtime;
        EXPECT_EQ(second.Key(), first.Key());
    }
    saved ? ::setenv("XDG_RUNTIME_DIR", saved->c_str(), 1) : ::unsetenv("XDG_RUNTIME_DIR");
}

// Another user made the lock folder's name first: the user's start says so and takes no lock,
// where it would otherwise have run unlocked, or locked where the other user could unlock it.
TEST_F(InstanceLockTest, ALockFolderThatSomeoneElseMadeOrCanChangeIsRefused) {
    const std::string folder = Base + "allcheck-65534";
    const std::string elsewhere = Dir.MakeDir("elsewhere");
    const auto ownedByNobody = [](const std::string& path, fs::perms mode) {
        ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
        fs::permissions(path, mode);
    };
    ownedByNobody(elsewhere, fs::perms(0700));
    const struct {
        const char* What;
        std::function<void()> Plant;
    } plants[] = {
        {"nothing", [] {}},
        {"a link to a folder of the user's",
         [&] { fs::create_directory_symlink(elsewhere, folder); }},
        {"a file", [&] { Dir.Write("tmp/allcheck-65534", ""); }},
        {"another user's folder", [&] { fs::create_directory(folder); }},
        {"a folder open to all",
         [&] {
             fs::create_directory(folder);
             ownedByNobody(folder, fs::perms(0777));
         }},
    };
    for (const auto& plant : plants) {
        plant.Plant();
        const Strings seen = Unprivileged([&] {
            TOutputFileLock lock(Output);
            return Strings{lock.Failed() ? lock.FailureText() : lock.Key()};
        });
        ASSERT_EQ(seen.size(), 1u) << plant.What;
        if (&plant == &plants[0]) {
            EXPECT_TRUE(seen[0].starts_with(folder + "/allcheck-")) << seen[0];
        } else {
            EXPECT_NE(seen[0].find(folder + " "), std::string::npos)
                << plant.What << ": " << seen[0];
        }
        fs::remove_all(folder);
    }
}

} // namespace
