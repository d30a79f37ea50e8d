// Target 4: the tool's start-up. Whole processes, each writing the default
// picture of "12" to a new file: the ecc200 tool, a static program that only
// creates the file and writes the same bytes (static_writer.c, the bytes
// embedded at build time from the tool's own output), and zint's tool.
// Timed on the wall clock in interleaved batches; the files a batch wrote
// are removed after it, untimed, so that every batch starts from an empty
// folder.
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "targets.h"

extern char** environ;

namespace peers {
namespace {

constexpr int kDefaultSide = 10;  // "12" in the smallest square size
constexpr double kBatchSeconds = 0.05;

// Runs argv to its end; true when it exited with status 0.
bool Run(const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t child = 0;
    if (posix_spawnp(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return false;
    int status = 0;
    if (waitpid(child, &status, 0) != child) return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A program's new files: numbered names in its own folder, removed after
// each batch.
class NewFiles {
public:
    NewFiles(std::string folder, std::vector<std::string> before, std::vector<std::string> after)
        : folder_(std::move(folder)), before_(std::move(before)), after_(std::move(after)) {
        if (mkdir(folder_.c_str(), 0700) != 0) throw std::runtime_error("cannot create " + folder_);
    }
    ~NewFiles() {
        RemoveAll();
        rmdir(folder_.c_str());
    }
    NewFiles(const NewFiles&) = delete;
    NewFiles& operator=(const NewFiles&) = delete;

    bool WriteOne() {
        const std::string path = folder_ + "/" + std::to_string(written_++) + ".bmp";
        std::vector<std::string> arguments = before_;
        arguments.push_back(path);
        arguments.insert(arguments.end(), after_.begin(), after_.end());
        return Run(arguments);
    }
    std::string First() const { return folder_ + "/0.bmp"; }
    void RemoveAll() {
        for (long i = 0; i < written_; ++i) std::remove((folder_ + "/" + std::to_string(i) + ".bmp").c_str());
        written_ = 0;
    }

private:
    std::string folder_;
    std::vector<std::string> before_;  // the arguments before the file name
    std::vector<std::string> after_;   // and after it
    long written_ = 0;
};

// The static program must write exactly the tool's bytes: checked once.
void CheckSameBytes(NewFiles& tool, NewFiles& writer) {
    if (!tool.WriteOne() || !writer.WriteOne()) throw std::runtime_error("a start-up program failed");
    const std::string ours = ReadFile(tool.First());
    if (ours.empty() || ours != ReadFile(writer.First())) {
        throw std::runtime_error("the static writer's bytes are not the tool's: rebuild ecc200_static_writer");
    }
    tool.RemoveAll();
    writer.RemoveAll();
}

}  // namespace

std::vector<TargetRow> StartupRows(const TargetPlan& plan, const StartupPrograms& programs) {
    std::string pattern = programs.directory + "/ecc200-startup.XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create a folder in " + programs.directory);
    const std::string folder = pattern;
    std::vector<TargetRow> rows;
    {
        NewFiles tool(folder + "/ecc200", {programs.tool, "-o"}, {"12"});
        NewFiles writer(folder + "/writer", {programs.staticWriter}, {});
        NewFiles zint(folder + "/zint", {"zint", "-b", "71", "-o"}, {"-d", "12"});
        CheckSameBytes(tool, writer);
        const std::vector<Contender> contenders = {
            {"ecc200", [&] { return tool.WriteOne(); }, [&] { tool.RemoveAll(); }},
            {"static_writer", [&] { return writer.WriteOne(); }, [&] { writer.RemoveAll(); }},
            {"zint", [&] { return zint.WriteOne(); }, [&] { zint.RemoveAll(); }},
        };
        const TimingPlan timing{plan.smoke ? 0.0 : kBatchSeconds, plan.smoke ? 1 : plan.rounds};
        rows = RowsOf("startup_new_bmp", kDefaultSide, "us_wall", TimeSideBySide(contenders, timing, Clock::Wall));
    }
    rmdir(folder.c_str());
    return rows;
}

}  // namespace peers
