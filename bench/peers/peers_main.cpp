// ecc200_peers: ecc200 side by side with zint, libdmtx and zxing-cpp.
//
// First it checks that every peer makes the same module matrix as ecc200
// for each of the 24 square sizes (libdmtx and zxing-cpp interleave the
// check codewords of 144 x 144 in another order, so they are compared
// below it); any difference ends the run with status 1. Then it times, in
// interleaved rounds: encodation to the module matrix for each size; the
// default DMSaveAsBMP picture to a new file and over an existing one; a
// 144 x 144 symbol on a 1000 x 1000 BMP; the enhanced metafile of that
// symbol; and the peak resident memory of a 10000 x 10000 BMP save.
// Encodation is timed on the thread's CPU clock, the file and metafile jobs
// on the wall clock.
//
//   ecc200_peers [--smoke] [--csv FILE] [--dir DIR] [--rounds N] [--batch-ms MS]
//                [--only encode|bmp_default|bmp_144|emf_144|memory]
//
// --smoke runs the check and every job once, briefly (a test, not a
// measurement). The results go to standard output as a table and, with
// --csv, to FILE: one row per job and library, with ecc200's median over
// the library's. Files are written in a fresh directory under DIR (the
// current directory by default), removed at the end.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "contenders.h"
#include "side_by_side.h"

extern char** environ;

namespace peers {
namespace {

struct Options {
    bool smoke = false;
    std::string csvPath;
    std::string directory = ".";
    int rounds = 31;
    double batchMilliseconds = 2.0;
    std::string only;  // one group of jobs (encode, bmp_default, bmp_144, emf_144, memory); empty: all
};

// One row of the results: a timing in microseconds, or a memory figure in
// megabytes (10^6 bytes) with the same value as median, minimum and maximum.
struct Row {
    std::string job;
    int symbolSide;
    std::string unit;  // "us" on the thread's CPU clock, "us_wall" on the wall clock, "MB"
    Timing timing;
};

// ---------------------------------------------------------------------------
// Messages

// 2 x codewords digits: digit pairs, one codeword each in every library's
// ASCII encodation, which none of them leaves for another encodation.
std::string Digits(int codewords) {
    std::string digits;
    for (int i = 0; i < 2 * codewords; ++i) digits.push_back(static_cast<char>('0' + (i * 7 + i / 10) % 10));
    return digits;
}

// Fills the size exactly: no pad codewords.
std::string FillingMessage(int sizeIndex) { return Digits(SquareDataCodewords(sizeIndex)); }

// One codeword more than the next smaller size holds: the rest is padding.
std::string PaddedMessage(int sizeIndex) { return Digits(sizeIndex == 0 ? 1 : SquareDataCodewords(sizeIndex - 1) + 1); }

std::string SideName(int side) { return std::to_string(side) + "x" + std::to_string(side); }

// ---------------------------------------------------------------------------
// The matrix check

bool Compare(const std::string& what, const ModuleGrid& ours, const ModuleGrid& theirs, int& compared) {
    ++compared;
    const std::string difference = FirstDifference(ours, theirs);
    if (difference.empty()) return true;
    std::cerr << "matrix check: " << what << " differs from ecc200 at " << difference << "\n";
    return false;
}

// Every peer's matrix against ours, for every size: the message that fills
// it and (zint and libdmtx, which take a forced size) a padded one.
bool CheckMatrices() {
    bool same = true;
    int compared = 0;
    ZintCoder zint;
    unsigned checksum = 0;
    for (int s = 0; s < kSquareSizeCount; ++s) {
        const bool below144 = s + 1 < kSquareSizeCount;
        const std::string size = SideName(SquareSide(s));
        for (const std::string& message : {FillingMessage(s), PaddedMessage(s)}) {
            const bool filling = message.size() == FillingMessage(s).size();
            const std::string what = size + (filling ? " filled" : " padded");
            const ModuleGrid ours = ecc200_side::Matrix(message);
            if (ours.side != SquareSide(s)) {
                std::cerr << "matrix check: ecc200 made " << ours.side << " modules for " << what << "\n";
                same = false;
                continue;
            }
            same &= Compare("zint " + what, ours,
                            zint.Encode(message, s, checksum) ? zint.Matrix() : ModuleGrid{}, compared);
            if (below144) same &= Compare("libdmtx " + what, ours, LibdmtxMatrix(message, s), compared);
            if (below144 && filling) same &= Compare("zxing-cpp " + what, ours, ZxingMatrix(message), compared);
        }
    }
    // The symbols of the picture jobs, which zint draws too.
    for (const std::string& message : {std::string("12"), LargestSymbolMessage()}) {
        const ModuleGrid ours = ecc200_side::Matrix(message);
        int index = 0;
        while (index + 1 < kSquareSizeCount && SquareSide(index) != ours.side) ++index;
        same &= Compare("zint picture " + SideName(ours.side), ours,
                        zint.Encode(message, index, checksum) ? zint.Matrix() : ModuleGrid{}, compared);
    }
    std::cout << "matrix check: " << compared << " matrices compared, "
              << (same ? "all equal to ecc200's" : "SOME DIFFER") << "\n";
    return same;
}

// ---------------------------------------------------------------------------
// Files

std::string MakeWorkDirectory(const std::string& parent) {
    std::string pattern = parent + "/ecc200-peers-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (mkdtemp(buffer.data()) == nullptr) throw std::runtime_error("cannot make a directory in " + parent);
    return buffer.data();
}

// Width, height and bits per pixel from a BMP file's header.
std::string BmpShape(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    unsigned char header[30] = {};
    if (!file.read(reinterpret_cast<char*>(header), sizeof header) || header[0] != 'B' || header[1] != 'M') {
        return "not a BMP";
    }
    const auto le32 = [&](int at) {
        return static_cast<long>(header[at] | header[at + 1] << 8 | header[at + 2] << 16 |
                                 static_cast<unsigned long>(header[at + 3]) << 24);
    };
    return std::to_string(le32(18)) + "x" + std::to_string(le32(22)) + ", " +
           std::to_string(header[28] | header[29] << 8) + " bit";
}

// ---------------------------------------------------------------------------
// Peak memory: one child process per save (ecc200_peers_memory, beside this
// program), which reports its own high-water mark.

double PeakMegabytes(const std::string& mode, int side, const std::string& path) {
    char self[4096] = {};
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0) throw std::runtime_error("cannot find this program's path");
    std::string program(self, static_cast<std::size_t>(length));
    program = program.substr(0, program.rfind('/') + 1) + "ecc200_peers_memory";
    std::string sideText = std::to_string(side);
    std::vector<char*> arguments = {program.data(), const_cast<char*>(mode.c_str()), sideText.data(),
                                    const_cast<char*>(path.c_str()), nullptr};
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) throw std::runtime_error("cannot make a pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, program.c_str(), &actions, nullptr, arguments.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    std::string output;
    char buffer[64];
    ssize_t got = 0;
    while (spawned == 0 && (got = read(pipeEnds[0], buffer, sizeof buffer)) > 0) {
        output.append(buffer, static_cast<std::size_t>(got));
    }
    close(pipeEnds[0]);
    if (spawned != 0) throw std::runtime_error("cannot run " + program);
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0 || output.empty()) {
        throw std::runtime_error("the " + mode + " save of " + SideName(side) + " failed");
    }
    std::remove(path.c_str());
    return std::atof(output.c_str()) * 1024.0 / 1e6;  // KiB to MB
}

Row MemoryRow(const std::string& job, const std::string& library, double megabytes) {
    return Row{job, 144, "MB", Timing{library, megabytes, megabytes, megabytes, 1, 1}};
}

// ---------------------------------------------------------------------------
// The jobs

class Run {
public:
    Run(const Options& options, std::string directory)
        : options_(options),
          directory_(std::move(directory)),
          plan_{options.smoke ? 0.0 : options.batchMilliseconds / 1000.0, options.smoke ? 1 : options.rounds} {}

    void EncodeEverySize() {
        unsigned checksum = 0;
        ZintCoder zint;
        for (int s = 0; s < kSquareSizeCount; ++s) {
            const std::string message = FillingMessage(s);
            Time("encode", SquareSide(s), Clock::ThreadCpu,
                 {{"zint", [&] { return zint.Encode(message, s, checksum); }},
                  {"libdmtx", [&] { return LibdmtxEncode(message, s, checksum); }},
                  {"zxing-cpp", [&] { return ZxingEncode(message, checksum); }},
                  {"ecc200", [&] { return ecc200_side::Encode(message, checksum); }}});
        }
        // "12" and the 144 x 144 message against zint's FAST mode, through
        // the nine's encoder call and through the per-call interface.
        const std::pair<std::string, int> messages[] = {{"12", 0}, {LargestSymbolMessage(), kSquareSizeCount - 1}};
        for (const std::pair<std::string, int>& job : messages) {
            const std::string& message = job.first;
            const int s = job.second;
            Time("nine_encode", SquareSide(s), Clock::ThreadCpu,
                 {{"zint", [&] { return zint.Encode(message, s, checksum); }},
                  {"ecc200", [&] { return ecc200_side::Encode(message, checksum); }}});
            Time("c_encode_ascii", SquareSide(s), Clock::ThreadCpu,
                 {{"zint", [&] { return zint.Encode(message, s, checksum); }},
                  {"ecc200", [&] { return ecc200_side::EncodePerCall(message, checksum); }}});
        }
        sink_ += checksum;
    }

    // The default picture (DMSetDefault: "12", 500 x 300, modules of 0.2 cm)
    // to a new file, both removing the target first, and over an existing
    // file.
    void DefaultBmp() {
        const Picture picture = PictureWithModuleSize("12", 500, 300, 0.2f, 0);
        SaveBmpBothWays(picture, "bmp_default_new", "bmp_default_replace");
    }

    // The largest symbol, modules of 5 pixels, on 1000 x 1000.
    void LargestSymbolBmp() {
        const Picture picture = PictureWithModulePixels(LargestSymbolMessage(), 1000, 1000, 5, kSquareSizeCount);
        SaveBmpBothWays(picture, "bmp_144_new", "");
    }

    // The enhanced metafile of that picture: ecc200 records it for the
    // clipboard; zint 2.11 writes its EMF only to a file.
    void LargestSymbolEmf() {
        const Picture picture = PictureWithModulePixels(LargestSymbolMessage(), 1000, 1000, 5, kSquareSizeCount);
        ZintCoder zint;
        zint.UsePicture(picture);
        const std::string zintPath = directory_ + "/zint.emf";
        ecc200_side::UsePicture(picture);
        Time("emf_144", 144, Clock::Wall,
             {{"zint", [&] { return zint.Save(zintPath); }}, {"ecc200", [] { return ecc200_side::CopyEmf(); }}});
    }

    void PeakMemory() {
        const int side = options_.smoke ? 1000 : 10000;
        const std::string job = "peak_memory_bmp_" + std::to_string(side);
        const std::string path = directory_ + "/memory.bmp";
        rows_.push_back(MemoryRow(job, "zint", PeakMegabytes("zint", side, path)));
        rows_.push_back(MemoryRow(job, "ecc200", PeakMegabytes("ours", side, path)));
        char baseline[120];
        std::snprintf(baseline, sizeof baseline, "%s: the measuring process alone, saving nothing, peaks at %.1f MB",
                      job.c_str(), PeakMegabytes("none", side, path));
        Note(baseline);
    }

    void Print(std::ostream& out) const {
        char line[200];
        std::snprintf(line, sizeof line, "%-22s %7s %-10s %12s %12s %12s %9s %8s\n", "job", "symbol", "library",
                      "median", "min", "max", "batch", "ecc200/x");
        out << line;
        for (const Row& row : rows_) {
            std::snprintf(line, sizeof line, "%-22s %7s %-10s %12.3f %12.3f %12.3f %9ld %8.3f %s\n", row.job.c_str(),
                          SideName(row.symbolSide).c_str(), row.timing.library.c_str(), row.timing.medianMicroseconds,
                          row.timing.minMicroseconds, row.timing.maxMicroseconds, row.timing.operationsPerBatch,
                          OursOver(row), row.unit.c_str());
            out << line;
        }
    }

    void WriteCsv(std::ostream& out) const {
        for (const std::string& note : notes_) out << "# " << note << "\n";
        out << "job,symbol_side,library,unit,median,min,max,operations_per_batch,rounds,ecc200_over_library\n";
        for (const Row& row : rows_) {
            char line[300];
            std::snprintf(line, sizeof line, "%s,%d,%s,%s,%.4f,%.4f,%.4f,%ld,%d,%.4f\n", row.job.c_str(),
                          row.symbolSide, row.timing.library.c_str(), row.unit.c_str(),
                          row.timing.medianMicroseconds, row.timing.minMicroseconds, row.timing.maxMicroseconds,
                          row.timing.operationsPerBatch, row.timing.rounds, OursOver(row));
            out << line;
        }
    }

    void Note(const std::string& note) {
        std::cout << note << "\n";
        notes_.push_back(note);
    }

private:
    void Time(const std::string& job, int side, Clock clock, const std::vector<Contender>& contenders) {
        for (const Timing& timing : TimeSideBySide(contenders, plan_, clock)) {
            rows_.push_back(Row{job, side, clock == Clock::ThreadCpu ? "us" : "us_wall", timing});
        }
    }

    // New file: the target removed before each save, by both. Replacement:
    // each save goes over the file the previous one wrote.
    void SaveBmpBothWays(const Picture& picture, const std::string& newJob, const std::string& replaceJob) {
        ZintCoder zint;
        zint.UsePicture(picture);
        ecc200_side::UsePicture(picture);
        const std::string zintPath = directory_ + "/zint.bmp";
        const std::string oursPath = directory_ + "/ecc200.bmp";
        const int side = ecc200_side::Matrix(picture.message).side;
        Time(newJob, side, Clock::Wall,
             {{"zint", [&] { return std::remove(zintPath.c_str()), zint.Save(zintPath); }},
              {"ecc200", [&] { return std::remove(oursPath.c_str()), ecc200_side::SaveBmp(oursPath.c_str()); }}});
        const std::string oursShape = BmpShape(oursPath);
        const std::string zintShape = BmpShape(zintPath);
        Note(newJob + ": ecc200 " + oursShape + ", modules of " + std::to_string(picture.modulePixels) +
             " pixels; zint " + zintShape +
             (zintShape == oursShape ? "" : " (the nearest it draws: whitespace in whole modules)"));
        if (replaceJob.empty()) return;
        Time(replaceJob, side, Clock::Wall,
             {{"zint", [&] { return zint.Save(zintPath); }},
              {"ecc200", [&] { return ecc200_side::SaveBmp(oursPath.c_str()); }}});
    }

    // ecc200's median over the row's library's median for the same job.
    double OursOver(const Row& row) const {
        for (const Row& ours : rows_) {
            if (ours.job == row.job && ours.symbolSide == row.symbolSide && ours.timing.library == "ecc200") {
                return ours.timing.medianMicroseconds / row.timing.medianMicroseconds;
            }
        }
        return 0.0;
    }

    const Options& options_;
    std::string directory_;
    TimingPlan plan_;
    std::vector<Row> rows_;
    std::vector<std::string> notes_;
    unsigned sink_ = 0;
};

bool ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        const bool hasValue = i + 1 < argc;
        if (option == "--smoke") {
            options.smoke = true;
        } else if (option == "--csv" && hasValue) {
            options.csvPath = argv[++i];
        } else if (option == "--dir" && hasValue) {
            options.directory = argv[++i];
        } else if (option == "--rounds" && hasValue) {
            options.rounds = std::atoi(argv[++i]);
            if (options.rounds < 1) return false;
        } else if (option == "--only" && hasValue) {
            options.only = argv[++i];
        } else if (option == "--batch-ms" && hasValue) {
            options.batchMilliseconds = std::atof(argv[++i]);
            if (!(options.batchMilliseconds > 0.0)) return false;
        } else {
            return false;
        }
    }
    return true;
}

int RunAll(const Options& options) {
    if (!CheckMatrices()) return 1;
    const std::string directory = MakeWorkDirectory(options.directory);
    Run run(options, directory);
    int status = 0;
    try {
        const auto wanted = [&](const char* group) { return options.only.empty() || options.only == group; };
        if (wanted("encode")) run.EncodeEverySize();
        if (wanted("bmp_default")) run.DefaultBmp();
        if (wanted("bmp_144")) run.LargestSymbolBmp();
        if (wanted("emf_144")) run.LargestSymbolEmf();
        if (wanted("memory")) run.PeakMemory();
    } catch (const std::exception& failure) {
        std::cerr << "ecc200_peers: " << failure.what() << "\n";
        status = 1;
    }
    for (const char* name : {"zint.bmp", "ecc200.bmp", "zint.emf", "memory.bmp"}) {
        std::remove((directory + "/" + name).c_str());
    }
    rmdir(directory.c_str());
    if (status != 0) return status;

    run.Print(std::cout);
    if (!options.csvPath.empty()) {
        std::ofstream csv(options.csvPath);
        run.WriteCsv(csv);
        if (!csv.flush()) {
            std::cerr << "ecc200_peers: cannot write " << options.csvPath << "\n";
            return 1;
        }
    }
    return 0;
}

}  // namespace
}  // namespace peers

int main(int argc, char** argv) {
    peers::Options options;
    if (!peers::ParseOptions(argc, argv, options)) {
        std::cerr << "usage: ecc200_peers [--smoke] [--csv FILE] [--dir DIR] [--rounds N] [--batch-ms MS]\n"
                     "                    [--only encode|bmp_default|bmp_144|emf_144|memory]\n";
        return 2;
    }
    try {
        return peers::RunAll(options);
    } catch (const std::exception& failure) {
        std::cerr << "ecc200_peers: " << failure.what() << "\n";
        return 1;
    }
}
