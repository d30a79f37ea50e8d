// The product's speed targets measured side by side (ecc200_targets): each
// job gives rows in ecc200_peers' CSV format, ecc200's row first.
#pragma once

#include <string>
#include <vector>

#include "side_by_side.h"

namespace peers {

struct TargetRow {
    std::string job;
    int symbolSide;
    std::string unit;  // "us", "us_wall", "count" or "x" (a ratio)
    Timing timing;
    double ecc200OverLibrary;  // 1 on ecc200's own rows
};

struct TargetPlan {
    bool smoke;
    int rounds;
};

// A 144 x 144 symbol to BMP bytes at 5-pixel modules through ecc200.hpp
// against zint's ZBarcode_Encode_and_Buffer of the same picture size, and
// the allocations of a warm render into a reused vector.
std::vector<TargetRow> InMemoryRows(const TargetPlan& plan);

// The C interface encoding and drawing on two threads against one.
std::vector<TargetRow> TwoThreadRows(const TargetPlan& plan);

// Whole processes writing the default picture of "12" to a new BMP file:
// the ecc200 tool, a static program that only writes the same bytes, and
// zint's tool; new files in a fresh folder under `directory`.
struct StartupPrograms {
    std::string tool;
    std::string staticWriter;
    std::string directory;
};
std::vector<TargetRow> StartupRows(const TargetPlan& plan, const StartupPrograms& programs);

// Rows of `timings` (ecc200's first) with ecc200's median over each other's.
std::vector<TargetRow> RowsOf(const std::string& job, int side, const std::string& unit,
                              const std::vector<Timing>& timings);

}  // namespace peers
