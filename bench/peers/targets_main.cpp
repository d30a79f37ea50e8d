// ecc200_targets: the product's speed targets, each side by side with what
// it is measured against, in one run:
//   render_144_bmp_5px         ecc200::encode + ecc200::render of a 144 x 144
//                              symbol to BMP bytes at 5-pixel modules against
//                              zint's ZBarcode_Encode_and_Buffer (target <= 0.3x)
//   warm_render_allocations    allocations per warm render into a reused
//                              vector (target 0)
//   c_interface_*              the C interface on two threads against one
//                              (throughput target >= 1.8x)
//   startup_new_bmp            `ecc200 -o new.bmp 12` against a static
//                              program writing the same bytes (target
//                              <= 1.25x) and `zint -b 71 -o new.bmp -d 12`
//
//   ecc200_targets --tool TOOL --writer WRITER [--smoke] [--csv FILE] [--dir DIR] [--rounds N]
//
// --csv appends the rows in ecc200_peers' format, with a note per target
// saying whether this run met it. --dir holds the start-up's new files (a
// tmpfs such as /dev/shm keeps the disk out of it). --smoke runs each job
// once: a test, not a measurement.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "targets.h"

namespace {

struct Options {
    peers::TargetPlan plan{false, 31};
    peers::StartupPrograms programs{"", "", "."};
    std::string csvPath;
};

const char* const kUsage =
    "usage: ecc200_targets --tool TOOL --writer WRITER [--smoke] [--csv FILE] [--dir DIR] [--rounds N]";

Options ParseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        const bool hasValue = i + 1 < argc;
        if (option == "--smoke") {
            options.plan.smoke = true;
        } else if (option == "--csv" && hasValue) {
            options.csvPath = argv[++i];
        } else if (option == "--dir" && hasValue) {
            options.programs.directory = argv[++i];
        } else if (option == "--tool" && hasValue) {
            options.programs.tool = argv[++i];
        } else if (option == "--writer" && hasValue) {
            options.programs.staticWriter = argv[++i];
        } else if (option == "--rounds" && hasValue) {
            options.plan.rounds = std::atoi(argv[++i]);
        } else {
            throw std::invalid_argument(kUsage);
        }
    }
    if (options.programs.tool.empty() || options.programs.staticWriter.empty() || options.plan.rounds < 1) {
        throw std::invalid_argument(kUsage);
    }
    return options;
}

// The figure a target is judged on: ecc200's ratio over `library` in `job`.
double Figure(const std::vector<peers::TargetRow>& rows, const std::string& job, const std::string& library) {
    for (const peers::TargetRow& row : rows) {
        if (row.job == job && row.timing.library == library) {
            return library == "ecc200" ? row.timing.medianMicroseconds : row.ecc200OverLibrary;
        }
    }
    throw std::logic_error("no row " + job + " " + library);
}

struct Target {
    const char* what;
    const char* job;
    const char* library;
    bool atMost;  // the figure must be at most the bound (else at least)
    double bound;
};

const Target kTargets[] = {
    {"144x144 BMP in memory (ecc200.hpp) over zint's ZBarcode_Encode_and_Buffer", "render_144_bmp_5px", "zint", true,
     0.3},
    {"allocations per warm render into a reused vector", "warm_render_allocations", "ecc200", true, 0.0},
    {"C interface, two threads' throughput over one's", "c_interface_2_over_1_thread", "ecc200", false, 1.8},
    {"tool start-up (new file) over a static program writing the same bytes", "startup_new_bmp", "static_writer",
     true, 1.25},
};

std::vector<std::string> Verdicts(const std::vector<peers::TargetRow>& rows) {
    std::vector<std::string> notes;
    for (const Target& target : kTargets) {
        const double figure = Figure(rows, target.job, target.library);
        const bool met = target.atMost ? figure <= target.bound : figure >= target.bound;
        char note[300];
        std::snprintf(note, sizeof note, "target: %s %s %.2f: %.2f in this run, %s", target.what,
                      target.atMost ? "<=" : ">=", target.bound, figure, met ? "met" : "NOT met");
        notes.push_back(note);
    }
    return notes;
}

void WriteRows(std::ostream& out, const std::vector<peers::TargetRow>& rows) {
    for (const peers::TargetRow& row : rows) {
        char line[300];
        std::snprintf(line, sizeof line, "%s,%d,%s,%s,%.4f,%.4f,%.4f,%ld,%d,%.4f\n", row.job.c_str(), row.symbolSide,
                      row.timing.library.c_str(), row.unit.c_str(), row.timing.medianMicroseconds,
                      row.timing.minMicroseconds, row.timing.maxMicroseconds, row.timing.operationsPerBatch,
                      row.timing.rounds, row.ecc200OverLibrary);
        out << line;
    }
}

}  // namespace

int main(int argc, char** argv) try {
    const Options options = ParseOptions(argc, argv);
    std::vector<peers::TargetRow> rows = peers::InMemoryRows(options.plan);
    for (const auto& more : {peers::TwoThreadRows(options.plan), peers::StartupRows(options.plan, options.programs)}) {
        rows.insert(rows.end(), more.begin(), more.end());
    }
    WriteRows(std::cout, rows);
    const std::vector<std::string> notes = Verdicts(rows);
    for (const std::string& note : notes) std::cout << note << "\n";
    if (!options.csvPath.empty()) {
        std::ofstream csv(options.csvPath, std::ios::app);
        for (const std::string& note : notes) csv << "# " << note << "\n";
        WriteRows(csv, rows);
        if (!csv.flush()) throw std::runtime_error("cannot write " + options.csvPath);
    }
    return 0;
} catch (const std::exception& failure) {
    std::cerr << "ecc200_targets: " << failure.what() << "\n";
    return 1;
}
