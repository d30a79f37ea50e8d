// A batch's ZPL output without #: one file (or standard output) of labels,
// one a line, in the batch's line order, to send to the printer in one job.
// Lines finish in any order on the batch's threads; each label is written
// as soon as every line before it has finished, and its memory freed, so
// that the stream never holds more than the lines still out of order. A
// file is written under a new name beside it and renamed over it when the
// stream closes without error: the file is the old one or the whole new
// stream, never part of one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace ecc200::tool {

class LabelStream {
public:
    LabelStream(const LabelStream&) = delete;
    LabelStream& operator=(const LabelStream&) = delete;
    ~LabelStream();

    // The stream into `path` ("-": standard output) for `lines` lines;
    // nothing, with errno set, when the new file cannot be made.
    static std::optional<LabelStream> Open(const std::string& path, std::size_t lines);
    LabelStream(LabelStream&& other) noexcept;

    // Line `index` has finished: `label` is its label, empty when the line
    // failed. Any thread; each line once.
    void Finish(std::size_t index, std::vector<std::uint8_t> label);

    // Closes the stream and puts the file in place; the error line ("cannot
    // write PATH: reason") when any byte could not be written or the file
    // not put in place, which is then as it was.
    std::optional<std::string> Close();

private:
    LabelStream(std::string path, std::string replaced, std::string temporary, std::FILE* file, std::size_t lines);

    std::string path_;       // as given, for the error line
    std::string replaced_;   // the regular file the new one replaces (path_ through its links)
    std::string temporary_;  // the new file's name until it is renamed; empty when written in place
    std::FILE* file_;
    std::mutex mutex_;
    std::vector<std::vector<std::uint8_t>> labels_;  // finished lines not yet written
    std::vector<bool> finished_;
    std::size_t next_ = 0;  // the first line not yet written
    int writeError_ = 0;    // errno of the first write that failed
};

}  // namespace ecc200::tool
