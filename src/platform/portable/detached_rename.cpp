#include "platform/portable/detached_rename.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

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
bool LinkThrough(int fd, int directory, const char* name, const char* procPath) {
#ifdef AT_EMPTY_PATH
    if (linkat(fd, "", directory, name, AT_EMPTY_PATH) == 0) return true;
    if (errno != ENOENT && errno != EPERM && errno != EINVAL) return false;
    return linkat(AT_FDCWD, procPath, directory, name, AT_SYMLINK_FOLLOW) == 0;
#else
    (void)fd;
    (void)directory;
    (void)name;
    (void)procPath;
    errno = EOPNOTSUPP;
    return false;
#endif
}

struct ProcPath {
    char text[40];
    explicit ProcPath(int fd) { std::snprintf(text, sizeof text, "/proc/self/fd/%d", fd); }
};

struct LinkAndRename {
    int fd;
    int directory;
    const char* hidden;
    const char* name;
    char procPath[40];  // /proc/self/fd/<fd>, made before the helper starts
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
    if (!LinkThrough(job.fd, job.directory, job.hidden, job.procPath)) {
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

bool LinkNameless(int fd, int directory, const char* name) {
    return LinkThrough(fd, directory, name, ProcPath(fd).text);
}

LinkAndRenameResult LinkAndRenameOver(int fd, int directory, const char* hidden, const char* name) {
    LinkAndRename job{fd, directory, hidden, name, {}, {EINVAL, true}};
    std::memcpy(job.procPath, ProcPath(fd).text, sizeof job.procPath);
#ifdef ECC200_HELPER_PROCESS
    if (RunDetached(job)) return job.result;
#endif
    Run(&job);
    return job.result;
}

}  // namespace ecc200::platform
