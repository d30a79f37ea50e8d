#include "batch.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <map>
#include <thread>

#include "message_input.h"
#include "platform/drawing_surface.h"
#include "picture_outputs.h"
#include "picture_plan.h"
#include "progress_bar.h"
#include "library_saving.h"
#include "system_io.h"

namespace ecc200::tool {
namespace {

struct LineResult {
    std::string error;  // empty when every output was written
};

// Everything one worker thread leaves behind.
struct WorkerFiles {
    std::map<std::string, std::string> replaced;  // directory -> one file replaced in it, owing a flush
    BatchSaving saving;
};

// Draws line `index` (number index + 1) into every output; the error of the
// first output that fails, if any.
std::string RunLine(const Options& options, const std::string& message, std::size_t index, WorkerFiles& files) {
    if (message.empty()) return "empty line";
    if (const std::optional<std::string> problem = MessageProblem(message)) return *problem;
    const PlanOrProblem planned = PlanPicture(message, options);
    if (!planned.plan) return planned.problem;
    const SymbolJob job{message, planned.plan->style};
    for (const OutputRequest& output : options.outputs) {
        const std::string path = ExpandPattern(output.path, index + 1);
        files.saving.flushOwed = false;
        const std::optional<std::string> failure = WritePicture(output.format, path, job, &files.saving);
        if (files.saving.flushOwed) files.replaced.emplace(DirectoryOf(path), path);
        if (failure) return *failure;
    }
    return "";
}

// The lines shared out among the threads one at a time, so that a slow line
// holds up no other.
void RunLines(const Options& options, const std::vector<std::string>& lines, std::vector<LineResult>& results,
              std::vector<WorkerFiles>& files, std::atomic<std::size_t>& done) {
    std::atomic<std::size_t> next{0};
    std::vector<std::thread> workers;
    for (std::size_t w = 0; w < files.size(); ++w) {
        workers.emplace_back([&, w] {
            for (std::size_t i = next++; i < lines.size(); i = next++) {
                results[i].error = RunLine(options, lines[i], i, files[w]);
                ++done;
            }
        });
    }
    for (std::thread& worker : workers) worker.join();
}

}  // namespace

std::vector<std::string> BatchLines(const std::string& content) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t end = content.find('\n', start);
        if (end == std::string::npos) end = content.size();
        std::size_t stop = end;
        if (stop > start && content[stop - 1] == '\r') --stop;
        lines.push_back(content.substr(start, stop - start));
        start = end + 1;
    }
    return lines;
}

std::string ExpandPattern(const std::string& pattern, std::size_t number) {
    const std::string digits = std::to_string(number);
    std::string path;
    for (std::size_t i = 0; i < pattern.size();) {
        if (pattern[i] != '#') {
            path.push_back(pattern[i++]);
            continue;
        }
        const std::size_t run = pattern.find_first_not_of('#', i);
        const std::size_t length = (run == std::string::npos ? pattern.size() : run) - i;
        if (digits.size() < length) path.append(length - digits.size(), '0');
        path += digits;
        i += length;
    }
    return path;
}

int RunBatch(const Options& options) {
    std::string content;
    if (!ReadWholeFile(*options.batchPath, content)) {
        const std::string name = *options.batchPath == "-" ? "standard input" : "batch file " + *options.batchPath;
        std::cerr << "ecc200: cannot read " << name << ": " << std::strerror(errno) << '\n';
        return kExitFailure;
    }
    const std::vector<std::string> lines = BatchLines(content);
    // The screen's resolution is read once, here, before the threads share
    // it (the portable screen settles it at its first use).
    platform::GetScreenMetrics();
    const auto started = std::chrono::steady_clock::now();
    const std::size_t threads = std::max<std::size_t>(1, std::min<std::size_t>(std::thread::hardware_concurrency(), lines.size()));
    std::vector<LineResult> results(lines.size());
    std::vector<WorkerFiles> files(threads);
    std::atomic<std::size_t> done{0};
    {
        const ProgressBar progress(lines.size(), done, StderrIsTerminal());
        RunLines(options, lines, results, files, done);
    }

    // One flush for every replaced file, per directory's file system; new
    // files, as single saves, need none: nothing old is at risk.
    std::map<std::string, std::string> replaced;
    for (const WorkerFiles& worker : files) replaced.insert(worker.replaced.begin(), worker.replaced.end());
    bool flushed = true;
    for (const auto& [directory, file] : replaced) {
        if (!FlushFilesBeside(file)) {
            std::cerr << "ecc200: cannot flush the files in " << directory << ": " << std::strerror(errno) << '\n';
            flushed = false;
        }
    }

    std::size_t failed = 0;
    for (std::size_t i = 0; i < results.size(); ++i) {
        if (results[i].error.empty()) continue;
        ++failed;
        std::cerr << "ecc200: line " << i + 1 << ": " << results[i].error << '\n';
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    char summary[160];
    std::snprintf(summary, sizeof summary, "ecc200: %zu lines, %zu written, %zu failed, in %.2f s (%.0f lines/s)\n",
                  lines.size(), lines.size() - failed, failed, seconds, seconds > 0 ? lines.size() / seconds : 0.0);
    std::cerr << summary;
    return failed == 0 && flushed ? 0 : kExitFailure;
}

}  // namespace ecc200::tool
