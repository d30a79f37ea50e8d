#include "platform/portable/detached_rename.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdio>  // renameat

// ThreadSanitizer takes every clone for a fork and cannot follow a helper
// that shares the caller's memory: its builds link and rename in process.
#if defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define ECC200_NO_HELPER_PROCESS
#endif
#endif
#ifdef __SANITIZE_THREAD__
#define ECC200_NO_HELPER_PROCESS
#endif

#if defined(__linux__) && !defined(ECC200_NO_HELPER_PROCESS)
#define ECC200_HELPER_PROCESS
#include <sched.h>
#include <sys/wait.h>
#endif

namespace ecc200::platform {
namespace {

// Gives the nameless file `fd` the name `name` in `directory`: AT_EMPTY_PATH,
// which needs a capability on older kernels, else its /proc/self/fd path.
// Allocates nothing, so that the helper may run it.
#if defined(__clang__) || defined(__GNUC__)
__attribute__((no_sanitize("address", "thread", "undefined")))
#endif
bool LinkThrough(int fd, int directory, const char* name) {
#ifdef AT_EMPTY_PATH
    if (linkat(fd, "", directory, name, AT_EMPTY_PATH) == 0) return true;
    if (errno != ENOENT && errno != EPERM && errno != EINVAL) return false;
    // "/proc/self/fd/" and the descriptor's digits, written by hand: the C
    // library's formatting may take locks the helper must not.
    static constexpr char kPrefix[] = "/proc/self/fd/";
    char procPath[sizeof kPrefix + 10];
    std::size_t length = sizeof kPrefix - 1;
    for (std::size_t i = 0; i < length; ++i) procPath[i] = kPrefix[i];
    char digits[10];
    std::size_t count = 0;
    for (auto value = static_cast<unsigned>(fd); count == 0 || value != 0; value /= 10) {
        digits[count++] = static_cast<char>('0' + value % 10);
    }
    while (count > 0) procPath[length++] = digits[--count];
    procPath[length] = '\0';
    return linkat(AT_FDCWD, procPath, directory, name, AT_SYMLINK_FOLLOW) == 0;
#else
    (void)fd;
    (void)directory;
    (void)name;
    errno = EOPNOTSUPP;
    return false;
#endif
}

struct LinkAndRename {
    int fd;
    int directory;
    const char* hidden;
    const char* name;
    LinkAndRenameResult result;
};

// Runs in the helper (or in the caller where there is none). It allocates
// nothing and takes no lock: it shares the caller's memory while the caller
// waits, and another thread of the caller may hold any lock.
#if defined(__clang__) || defined(__GNUC__)
__attribute__((no_sanitize("address", "thread", "undefined")))
#endif
int Run(void* argument) {
    LinkAndRename& job = *static_cast<LinkAndRename*>(argument);
    if (!LinkThrough(job.fd, job.directory, job.hidden)) {
        job.result = {errno, true};
        return 0;
    }
    if (renameat(job.directory, job.hidden, job.directory, job.name) != 0) {
        const int cause = errno;
        unlinkat(job.directory, job.hidden, 0);
        job.result = {cause, false};
        return 0;
    }
    job.result = {0, false};
    return 0;
}

#ifdef ECC200_HELPER_PROCESS
// clone(CLONE_VM | CLONE_VFORK), as posix_spawn starts its child: the helper
// runs on a stack of its own in the caller's memory, and the caller waits
// until it has ended. False when no helper could be started.
bool RunDetached(LinkAndRename& job) {
    alignas(16) unsigned char stack[16 * 1024];  // the caller's own, unused while it waits
    const pid_t helper = clone(Run, stack + sizeof stack, CLONE_VM | CLONE_VFORK, &job);
    if (helper < 0) return false;
    int status = 0;
    while (waitpid(helper, &status, __WALL) < 0 && errno == EINTR) {
    }
    return true;
}
#endif

}  // namespace

bool LinkNameless(int fd, int directory, const char* name) { return LinkThrough(fd, directory, name); }

LinkAndRenameResult LinkAndRenameOver(int fd, int directory, const char* hidden, const char* name) {
    LinkAndRename job{fd, directory, hidden, name, {EINVAL, true}};
#ifdef ECC200_HELPER_PROCESS
    if (RunDetached(job)) return job.result;
#endif
    Run(&job);
    return job.result;
}

}  // namespace ecc200::platform
