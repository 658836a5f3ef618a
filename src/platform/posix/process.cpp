#include "platform/process.h"

#include "platform/command_words.h"
#include "platform/narrow_text.h"
#include "platform/posix/run_and_wait.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

// Owns the spawn attributes and file actions for one start.
struct TSpawnSetup {
    TSpawnSetup() {
        posix_spawnattr_init(&Attributes);
        posix_spawn_file_actions_init(&Actions);
    }
    ~TSpawnSetup() {
        posix_spawn_file_actions_destroy(&Actions);
        posix_spawnattr_destroy(&Attributes);
    }
    TSpawnSetup(const TSpawnSetup&) = delete;
    TSpawnSetup& operator=(const TSpawnSetup&) = delete;

    posix_spawnattr_t Attributes;
    posix_spawn_file_actions_t Actions;
};

} // namespace

TProcessOutcome RunAndWait(const std::vector<std::string>& words) {
    TProcessOutcome outcome;
    if (words.empty() || words.front().empty()) {
        outcome.StartError = ENOENT;
        return outcome;
    }
    TSpawnSetup setup;
    sigset_t signals;
    sigfillset(&signals);
    posix_spawnattr_setsigdefault(&setup.Attributes, &signals);
    sigemptyset(&signals);
    posix_spawnattr_setsigmask(&setup.Attributes, &signals);
    posix_spawnattr_setflags(&setup.Attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
    posix_spawn_file_actions_addopen(&setup.Actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addclosefrom_np(&setup.Actions, STDERR_FILENO + 1);

    std::vector<char*> argv;
    for (const std::string& word : words) {
        argv.push_back(const_cast<char*>(word.c_str()));
    }
    argv.push_back(nullptr);

    pid_t child = 0;
    int error =
        posix_spawnp(&child, argv[0], &setup.Actions, &setup.Attributes, argv.data(), environ);
    if (error != 0) {
        outcome.StartError = error;
        return outcome;
    }
    outcome.Started = true;
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) {
            return outcome;
        }
    }
    if (WIFSIGNALED(status)) {
        outcome.AbnormalEnd = WTERMSIG(status);
    } else if (WIFEXITED(status)) {
        outcome.ExitStatus = WEXITSTATUS(status);
    }
    return outcome;
}

TProcessOutcome RunCommandOn(const std::string& command, const std::string& path) {
    std::optional<std::vector<std::string>> words = SplitCommandWords(command);
    if (!words || words->empty()) {
        return {};
    }
    words->push_back(path);
    return RunAndWait(*words);
}

std::string CommandLineOf(const std::string& command, const std::string& path) {
    return command + " " + path;
}

std::string AbnormalEndText(const TProcessOutcome& outcome) {
    if (outcome.AbnormalEnd == 0) {
        return {};
    }
    return NarrowText("ｼｸﾞﾅﾙ ") + std::to_string(outcome.AbnormalEnd);
}
