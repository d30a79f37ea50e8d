// Runs an external program to completion, with its standard streams
// redirected through files so that large outputs cannot block it.
#pragma once

#include <string>
#include <vector>

namespace ecc200::test {

struct CommandResult {
    int exitCode = -1;  // the program's exit status; 128 + signal when killed; -1 when it could not start
    std::string out;
    std::string err;
};

// args[0] is looked up in PATH like a shell would; `input` becomes the
// program's standard input.
CommandResult RunCommand(const std::vector<std::string>& args, const std::string& input = "");

// The tool under test (the path in ECC200_TOOL, which CTest sets) with
// `args`; exit code -1 with the reason on err when ECC200_TOOL is not set.
CommandResult RunTool(std::vector<std::string> args, const std::string& input = "");

}  // namespace ecc200::test
