// Kills a process with SIGKILL at random moments while it saves a BMP over
// a good file, again and again: a large one (written from its rows after
// the path is looked at) and the default picture (a small file, written
// first as a new one). The child saves two messages in turn,
// so every save replaces one known file by the other; after each kill the
// target must be one of the two, byte for byte, and the directory must hold
// nothing but the target.
//
// Usage: kill_while_saving [kills]   (200 when not given)
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "ecc200.h"
#include "support/temp_dir.h"

namespace {

constexpr int kLargeSide = 8000;  // an 8000 x 8000 one-bit BMP: 8 MB
const char* const kMessages[] = {"old or new: first", "old or new: second"};

// side 0: the default picture, 500 x 300 (19262 bytes).
void PrepareSettings(int side) {
    DMSetDefault();
    if (side == 0) return;
    DMSetSize(side, side);
    DMSetInfo(2.0, 0, 0);
}

// The two files the target may hold, saved once in this process; returns
// how long the slower save took.
double SaveReferences(const std::string& path, std::string references[2]) {
    double slowest = 0;
    for (int i = 0; i < 2; ++i) {
        DMSetMessage(kMessages[i]);
        const auto start = std::chrono::steady_clock::now();
        if (DMSaveAsBMP(path.c_str()) != 1) return -1;
        slowest = std::max(slowest, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        references[i] = ecc200::test::ReadFileBytes(path);
    }
    return slowest;
}

// The child: saves the two messages in turn, starting with the one the
// target does not hold, until it is killed.
[[noreturn]] void SaveForever(const std::string& path, int first) {
    for (int i = first;; i = 1 - i) {
        DMSetMessage(kMessages[i]);
        if (DMSaveAsBMP(path.c_str()) != 1) _exit(3);
    }
}

// The target's bytes, or nothing when it is missing.
std::string ReadTarget(const std::string& path) {
    return std::filesystem::exists(path) ? ecc200::test::ReadFileBytes(path) : std::string();
}

std::vector<std::string> OtherEntries(const std::string& dir, const std::string& keep) {
    std::vector<std::string> others;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (entry.path().filename() != keep) others.push_back(entry.path().string());
    }
    return others;
}

// Kills `kills` children saving pictures of `side`; 0 when every kill left
// the old or the new file and nothing else.
int RunKills(int side, int kills) {
    const ecc200::test::TempDir dir;
    const std::string target = dir.file("target.bmp");
    PrepareSettings(side);
    std::string references[2];
    const double saveSeconds = SaveReferences(target, references);
    if (saveSeconds < 0 || references[0] == references[1]) {
        std::fprintf(stderr, "cannot save the two reference files\n");
        return 1;
    }
    // Kill times spread over the child's start and its first three saves.
    std::mt19937 random(std::random_device{}());
    std::uniform_int_distribution<long> delayMicroseconds(0, static_cast<long>(saveSeconds * 3.5e6) + 1000);

    int torn = 0, childFailures = 0, killsLeavingFiles = 0, leftFiles = 0, holdsFirst = 0, holdsSecond = 0;
    for (int kill = 0; kill < kills; ++kill) {
        const std::string before = ecc200::test::ReadFileBytes(target);
        const int first = before == references[0] ? 1 : 0;
        const pid_t child = fork();
        if (child < 0) return 1;
        if (child == 0) SaveForever(target, first);
        usleep(static_cast<useconds_t>(delayMicroseconds(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        if (!WIFSIGNALED(status)) ++childFailures;
        // The kill-safe rename runs in a helper process the kill does not
        // stop; it finishes the rename it was given. As the subreaper this
        // process inherits it: wait for it before looking at the directory.
        while (waitpid(-1, nullptr, __WALL) > 0) {
        }

        // Old or new, byte for byte.
        const std::string after = ReadTarget(target);
        holdsFirst += after == references[0];
        holdsSecond += after == references[1];
        if (after != references[0] && after != references[1]) {
            ++torn;
            ecc200::test::WriteFileBytes(target, references[0]);
        }

        // Nothing else: every other entry is counted, then removed so that
        // the next kill starts clean. A save that gives its temporary file a
        // name before the rename leaves it behind a kill and fails here; an
        // unnamed temporary (O_TMPFILE, named only by the rename) passes.
        const std::vector<std::string> others = OtherEntries(dir.file(""), "target.bmp");
        killsLeavingFiles += !others.empty();
        leftFiles += static_cast<int>(others.size());
        for (const std::string& other : others) {
            std::printf("left after kill %d: %s (%ju bytes)\n", kill + 1, other.c_str(),
                        static_cast<std::uintmax_t>(std::filesystem::file_size(other)));
            std::filesystem::remove(other);
        }
    }

    std::printf("%d kills (one save took %.0f ms): target old or new after %d, torn or missing after %d "
                "(first message %d, second %d); children that stopped by themselves: %d\n",
                kills, saveSeconds * 1000, kills - torn, torn, holdsFirst, holdsSecond, childFailures);
    std::printf("nothing else left in the directory: %s (%d kills left %d other files)\n",
                killsLeavingFiles == 0 ? "yes" : "NO", killsLeavingFiles, leftFiles);
    return torn == 0 && childFailures == 0 && killsLeavingFiles == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    prctl(PR_SET_CHILD_SUBREAPER, 1);
    const int kills = argc > 1 ? std::atoi(argv[1]) : 200;
    const int large = RunKills(kLargeSide, kills);
    return RunKills(0, kills / 2) | large;
}
