// ecc200_peers_memory MODE SIDE PATH: saves one SIDE x SIDE BMP of the
// largest symbol (modules of SIDE / 200 pixels) to PATH with ecc200
// (MODE ours) or zint (MODE zint), or does nothing (MODE none, the
// process's own baseline). On success it prints its peak resident memory
// in KiB: VmHWM of /proc/self/status, the high-water mark of this program's
// own memory. (wait4's ru_maxrss would also count the memory of the
// process that spawned it, which the kernel carries across exec.)
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "contenders.h"

namespace {

bool Save(const std::string& mode, int side, const std::string& path) {
    const peers::Picture picture =
        peers::PictureWithModulePixels(peers::LargestSymbolMessage(), side, side, side / 200, peers::kSquareSizeCount);
    if (mode == "ours") {
        peers::ecc200_side::UsePicture(picture);
        return peers::ecc200_side::SaveBmp(path.c_str());
    }
    if (mode == "zint") {
        peers::ZintCoder zint;
        zint.UsePicture(picture);
        return zint.Save(path);
    }
    return mode == "none";
}

// The "VmHWM:   1234 kB" line's figure, or -1.
long PeakKibibytes() {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmHWM:") {
            long kibibytes = -1;
            status >> kibibytes;
            return kibibytes;
        }
        status.ignore(1 << 20, '\n');
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s ours|zint|none SIDE PATH\n", argv[0]);
        return 2;
    }
    const std::string mode = argv[1];
    const int side = std::atoi(argv[2]);
    const std::string path = argv[3];
    if (side < 200 || !Save(mode, side, path)) return 1;
    const long peak = PeakKibibytes();
    if (peak < 0) return 1;
    std::printf("%ld\n", peak);
    return 0;
}
