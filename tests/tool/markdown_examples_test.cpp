// The command examples of README.md and docs/*.md, run as a reader would run
// them, so that a page cannot drift from what the tool does. An example is a
// fenced block marked `console`:
//
//     ```console
//     $ ecc200 --print codewords 12
//     142 129 70 199 165 81 164 113
//     $ ecc200 -o missing/a.bmp 12
//     ecc200: cannot write missing/a.bmp: No such file or directory
//     (exit 1)
//     ```
//
// Each `$ ` line is a command for bash, run in a folder of its block's own
// (a block's commands share it) with the built tool first on PATH and
// nothing on standard input; the lines up to the next command are what it
// prints, standard output and error together, and a last line `(exit N)`
// its exit status (0 without one). An expected line ending in `...` stands
// for any line that begins with the text before it (a time, a rate).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/run_command.h"
#include "support/temp_dir.h"

namespace ecc200 {
namespace {

constexpr const char* kCommandPrompt = "$ ";
constexpr const char* kAnyRest = "...";

struct Example {
    int line = 0;  // of the command, in its page
    std::string command;
    std::vector<std::string> printed;
    int exitCode = 0;
};

using Block = std::vector<Example>;

bool StartsWith(const std::string& text, const std::string& prefix) { return text.compare(0, prefix.size(), prefix) == 0; }

bool EndsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// `(exit N)` as N; -1 for any other line.
int ExitLine(const std::string& line) {
    if (!StartsWith(line, "(exit ") || !EndsWith(line, ")")) return -1;
    const std::string number = line.substr(6, line.size() - 7);
    if (number.empty() || number.find_first_not_of("0123456789") != std::string::npos) return -1;
    return std::stoi(number);
}

// The console blocks of one page.
std::vector<Block> ConsoleBlocks(const std::string& page) {
    std::vector<Block> blocks;
    std::istringstream lines(page);
    std::string line;
    bool inside = false;
    for (int number = 1; std::getline(lines, line); ++number) {
        if (!inside) {
            if (line == "```console") {
                inside = true;
                blocks.emplace_back();
            }
            continue;
        }
        if (line == "```") {
            inside = false;
        } else if (StartsWith(line, kCommandPrompt)) {
            blocks.back().push_back(Example{number, line.substr(2), {}, 0});
        } else if (!blocks.back().empty() && ExitLine(line) >= 0) {
            blocks.back().back().exitCode = ExitLine(line);
        } else if (!blocks.back().empty()) {
            blocks.back().back().printed.push_back(line);
        } else {
            ADD_FAILURE() << "line " << number << ": a console block starts with a command (\"$ \")";
        }
    }
    EXPECT_FALSE(inside) << "a console block is not closed";
    return blocks;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) lines.push_back(line);
    return lines;
}

bool Matches(const std::vector<std::string>& expected, const std::vector<std::string>& printed) {
    if (expected.size() != printed.size()) return false;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const std::string& want = expected[i];
        const bool prefix = EndsWith(want, kAnyRest);
        if (prefix ? !StartsWith(printed[i], want.substr(0, want.size() - 3)) : printed[i] != want) return false;
    }
    return true;
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += "  " + line + "\n";
    return text;
}

void RunBlock(const std::string& page, const Block& block, const std::string& toolFolder) {
    const test::TempDir folder;
    const std::string cwd = folder.file("");
    for (const Example& example : block) {
        const test::CommandResult result = test::RunCommand(
            {"bash", "-c", "cd \"$1\" && PATH=\"$2:$PATH\" && eval \"$3\" 2>&1", "example", cwd, toolFolder, example.command});
        const std::vector<std::string> printed = Lines(result.out + result.err);
        EXPECT_EQ(result.exitCode, example.exitCode) << page << ":" << example.line << ": $ " << example.command << "\n"
                                                     << Joined(printed);
        EXPECT_TRUE(Matches(example.printed, printed))
            << page << ":" << example.line << ": $ " << example.command << "\nexpected:\n"
            << Joined(example.printed) << "printed:\n" << Joined(printed);
    }
}

// README.md and every page of docs/.
std::vector<std::filesystem::path> Pages() {
    const std::filesystem::path root = ECC200_SOURCE_DIR;
    std::vector<std::filesystem::path> pages = {root / "README.md"};
    std::vector<std::filesystem::path> docs;
    for (const auto& entry : std::filesystem::directory_iterator(root / "docs")) {
        if (entry.path().extension() == ".md") docs.push_back(entry.path());
    }
    std::sort(docs.begin(), docs.end());
    pages.insert(pages.end(), docs.begin(), docs.end());
    return pages;
}

TEST(MarkdownExamples, ConsoleBlocksParseIntoCommandsOutputAndStatus) {
    const std::vector<Block> blocks = ConsoleBlocks(
        "text\n```console\n$ a\none\n$ b\n(exit 2)\n```\n```sh\n$ not run\n```\n```console\n$ c\ntime ...\n```\n");
    ASSERT_EQ(blocks.size(), 2u);
    ASSERT_EQ(blocks[0].size(), 2u);
    EXPECT_EQ(blocks[0][0].command, "a");
    EXPECT_EQ(blocks[0][0].printed, std::vector<std::string>{"one"});
    EXPECT_EQ(blocks[0][1].line, 5);
    EXPECT_EQ(blocks[0][1].exitCode, 2);
    EXPECT_TRUE(Matches(blocks[1][0].printed, {"time 0.25 s"}));
    EXPECT_FALSE(Matches(blocks[1][0].printed, {"tim"}));
    EXPECT_FALSE(Matches(blocks[0][0].printed, {"one", "two"}));
}

TEST(MarkdownExamples, EveryPagesCommandsPrintWhatThePageSays) {
    const char* tool = std::getenv("ECC200_TOOL");
    ASSERT_NE(tool, nullptr) << "ECC200_TOOL is not set";
    const std::string toolFolder = std::filesystem::path(tool).parent_path().string();
    std::size_t examples = 0;
    for (const std::filesystem::path& page : Pages()) {
        std::ifstream file(page, std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        const std::string name = page.lexically_relative(ECC200_SOURCE_DIR).string();
        for (const Block& block : ConsoleBlocks(text)) {
            RunBlock(name, block, toolFolder);
            examples += block.size();
        }
    }
    EXPECT_GT(examples, 0u) << "README.md has no console block";
}

}  // namespace
}  // namespace ecc200
