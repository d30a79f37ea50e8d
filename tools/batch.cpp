#include "batch.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>
#include <new>
#include <optional>
#include <set>
#include <thread>

#include "label_stream.h"
#include "picture_outputs.h"
#include "progress_bar.h"
#include "system_io.h"

namespace ecc200::tool {
namespace {

// A PDF output without # is one document: a page per line, each drawn on
// its line's thread into `pages` and saved at the end.
bool IsDocument(const OutputRequest& output) {
    return output.format == OutputFormat::Pdf && output.path.find('#') == std::string::npos;
}

using DocumentPages = std::vector<std::vector<std::vector<std::uint8_t>>>;  // [output][line]

// The labels of the ZPL stream outputs (label_stream.h), by output; null
// for the other outputs.
using LabelStreams = std::vector<std::unique_ptr<LabelStream>>;

// Encodes line `index` (number index + 1) and draws it into every output:
// a file per line, the line's page of a PDF document into `pages`, or the
// line's label of a ZPL stream into `labels`; the error of the first output
// that fails, if any. The library flushes each file that replaces an
// existing one as it saves it: its public interface has no flush deferred
// to the end of a batch.
std::string RunLine(const Options& options, const std::string& message, std::size_t index,
                    std::vector<std::vector<std::uint8_t>>& labels, DocumentPages& pages) {
    if (message.empty()) return "empty line";
    try {
        const PictureJob job{encode(message, options.encoding), options.picture};
        for (std::size_t o = 0; o < options.outputs.size(); ++o) {
            const OutputRequest& output = options.outputs[o];
            if (IsDocument(output)) {
                render(job.symbol, job.picture, Format::pdf, pages[o][index]);
                continue;
            }
            if (IsLabelStream(output)) {
                try {
                    render(job.symbol, job.picture, Format::zpl, labels[o]);
                } catch (const Error& error) {
                    return PictureFailureLine(error, output.format, output.path, job);
                }
                continue;
            }
            const std::optional<std::string> failure = WritePicture(output.format, ExpandPattern(output.path, index + 1), job);
            if (failure) return *failure;
        }
    } catch (const Error& error) {
        return FailureLine(error);
    } catch (const std::bad_alloc&) {
        return "out of memory";
    }
    return "";
}

// Runs line `index` and hands its labels to the streams: a failed line's
// as nothing, so that the lines after it are not held up.
std::string RunStreamedLine(const Options& options, const std::string& message, std::size_t index,
                            LabelStreams& streams, DocumentPages& pages) {
    std::vector<std::vector<std::uint8_t>> labels(options.outputs.size());
    std::string error = RunLine(options, message, index, labels, pages);
    for (std::size_t o = 0; o < streams.size(); ++o) {
        if (streams[o]) streams[o]->Finish(index, error.empty() ? std::move(labels[o]) : std::vector<std::uint8_t>());
    }
    return error;
}

// The symbol of the first line that encodes, if any.
std::optional<Symbol> FirstSymbol(const Options& options, const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        if (line.empty()) continue;
        std::error_code refused;
        Symbol symbol = encode(line, options.encoding, refused);
        if (!refused) return symbol;
    }
    return std::nullopt;
}

// The lines shared out among the threads one at a time, so that a slow line
// holds up no other.
void RunLines(const Options& options, const std::vector<std::string>& lines, std::vector<std::string>& errors,
              LabelStreams& streams, std::atomic<std::size_t>& done, DocumentPages& pages) {
    const std::size_t threads =
        std::max<std::size_t>(1, std::min<std::size_t>(std::thread::hardware_concurrency(), lines.size()));
    std::atomic<std::size_t> next{0};
    std::vector<std::thread> workers;
    for (std::size_t w = 0; w < threads; ++w) {
        workers.emplace_back([&] {
            for (std::size_t i = next++; i < lines.size(); i = next++) {
                errors[i] = RunStreamedLine(options, lines[i], i, streams, pages);
                ++done;
            }
        });
    }
    for (std::thread& worker : workers) worker.join();
}

// The first output folder that is missing or cannot be written, as the line
// to report; checked once, before anything is drawn. A folder named with #
// differs from line to line, and each is checked.
std::optional<std::string> FolderFailure(const Options& options, std::size_t lineCount) {
    std::set<std::string> folders;
    for (const OutputRequest& output : options.outputs) {
        const bool numbered = DirectoryOf(output.path).find('#') != std::string::npos;
        const std::size_t last = numbered ? lineCount : std::min<std::size_t>(lineCount, 1);
        for (std::size_t number = 1; number <= last; ++number) folders.insert(DirectoryOf(ExpandPattern(output.path, number)));
    }
    for (const std::string& folder : folders) {
        if (const std::error_code problem = FolderProblem(folder)) {
            return "cannot write in folder " + folder + ": " + problem.message();
        }
    }
    return std::nullopt;
}

// Saves each document output, whole, when every line has its page; the
// error lines of those that could not be saved.
std::vector<std::string> SaveDocuments(const Options& options, const DocumentPages& pages, bool linesFailed) {
    std::vector<std::string> failures;
    for (std::size_t o = 0; o < options.outputs.size(); ++o) {
        const OutputRequest& output = options.outputs[o];
        if (!IsDocument(output)) continue;
        if (linesFailed) {
            failures.push_back(output.path + " not written: a line failed, and the document has a page for every line");
            continue;
        }
        std::vector<const std::uint8_t*> data;
        std::vector<std::size_t> sizes;
        for (const std::vector<std::uint8_t>& page : pages[o]) {
            data.push_back(page.data());
            sizes.push_back(page.size());
        }
        ecc200_diagnostic diagnostic{};
        diagnostic.struct_size = sizeof diagnostic;
        if (ecc200_save_pdf_pages(data.data(), sizes.data(), data.size(), output.path.c_str(), &diagnostic) != ECC200_OK)
            failures.push_back(std::string("cannot write ") + diagnostic.message);
    }
    return failures;
}

// Opens every ZPL stream output before anything is drawn; the error line
// of the first that cannot be made, if any.
std::optional<std::string> OpenLabelStreams(const Options& options, std::size_t lineCount, LabelStreams& streams) {
    streams.resize(options.outputs.size());
    for (std::size_t o = 0; o < options.outputs.size(); ++o) {
        const OutputRequest& output = options.outputs[o];
        if (!IsLabelStream(output)) continue;
        std::optional<LabelStream> stream = LabelStream::Open(output.path, lineCount);
        if (!stream) return "cannot write " + output.path + ": " + std::strerror(errno);
        streams[o] = std::make_unique<LabelStream>(std::move(*stream));
    }
    return std::nullopt;
}

// Closes the streams; whether every byte was written (each failure reported).
bool CloseLabelStreams(LabelStreams& streams) {
    bool written = true;
    for (const std::unique_ptr<LabelStream>& stream : streams) {
        if (!stream) continue;
        if (const std::optional<std::string> failure = stream->Close()) {
            std::cerr << "ecc200: " << *failure << '\n';
            written = false;
        }
    }
    return written;
}

// Reports the failed lines and the summary; returns how many failed.
std::size_t ReportLines(const std::vector<std::string>& errors, double seconds) {
    std::size_t failed = 0;
    for (std::size_t i = 0; i < errors.size(); ++i) {
        if (errors[i].empty()) continue;
        ++failed;
        std::cerr << "ecc200: line " << i + 1 << ": " << errors[i] << '\n';
    }
    char summary[160];
    std::snprintf(summary, sizeof summary, "ecc200: %zu lines, %zu written, %zu failed, in %.2f s (%.0f lines/s)\n",
                  errors.size(), errors.size() - failed, failed, seconds, seconds > 0 ? errors.size() / seconds : 0.0);
    std::cerr << summary;
    return failed;
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
    if (const std::optional<std::string> failure = FolderFailure(options, lines.size())) {
        std::cerr << "ecc200: " << *failure << '\n';
        return kExitFailure;
    }
    // The module is the same for every line: checked, and any warning
    // given, once, on the first line that encodes.
    if (const std::optional<Symbol> first = FirstSymbol(options, lines); first && !CheckOutputModule(options, *first))
        return kExitFailure;

    const auto started = std::chrono::steady_clock::now();
    std::vector<std::string> errors(lines.size());
    LabelStreams streams;
    if (const std::optional<std::string> failure = OpenLabelStreams(options, lines.size(), streams)) {
        std::cerr << "ecc200: " << *failure << '\n';
        return kExitFailure;
    }
    std::atomic<std::size_t> done{0};
    DocumentPages pages(options.outputs.size());
    for (std::size_t o = 0; o < options.outputs.size(); ++o)
        if (IsDocument(options.outputs[o])) pages[o].resize(lines.size());
    {
        const ProgressBar progress(lines.size(), done, StderrIsTerminal());
        RunLines(options, lines, errors, streams, done, pages);
    }
    const bool streamsWritten = CloseLabelStreams(streams);
    const bool linesFailed = std::any_of(errors.begin(), errors.end(), [](const std::string& e) { return !e.empty(); });
    const std::vector<std::string> documents = lines.empty() ? std::vector<std::string>{} : SaveDocuments(options, pages, linesFailed);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    for (const std::string& failure : documents) std::cerr << "ecc200: " << failure << '\n';
    return ReportLines(errors, seconds) == 0 && documents.empty() && streamsWritten ? 0 : kExitFailure;
}

}  // namespace ecc200::tool
