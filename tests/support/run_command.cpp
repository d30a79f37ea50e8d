#include "support/run_command.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "support/temp_dir.h"

extern char** environ;

namespace ecc200::test {

CommandResult RunCommand(const std::vector<std::string>& args, const std::string& input) {
    const TempDir dir;
    const std::string inPath = dir.file("stdin");
    const std::string outPath = dir.file("stdout");
    const std::string errPath = dir.file("stderr");
    WriteFileBytes(inPath, input);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, inPath.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::vector<char*> argv;
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);

    CommandResult result;
    pid_t pid = 0;
    const int spawnError = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawnError != 0) {
        result.err = "cannot run " + args[0] + ": " + std::strerror(spawnError);
        return result;
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            result.err = "cannot wait for " + args[0];
            return result;
        }
    }
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.out = ReadFileBytes(outPath);
    result.err = ReadFileBytes(errPath);
    return result;
}

CommandResult RunTool(std::vector<std::string> args, const std::string& input) {
    const char* tool = std::getenv("ECC200_TOOL");
    if (tool == nullptr) return CommandResult{-1, "", "ECC200_TOOL is not set"};
    args.insert(args.begin(), tool);
    return RunCommand(args, input);
}

}  // namespace ecc200::test
