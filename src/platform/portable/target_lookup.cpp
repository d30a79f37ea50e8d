#include "platform/portable/target_lookup.h"

#include <limits.h>
#include <unistd.h>

#include <cerrno>

#include "platform/drawing_surface.h"

namespace ecc200::platform {
namespace {

// The kernel follows at most 40 links in one path before ELOOP.
constexpr int kMostLinksFollowed = 40;

// No name, with errno the cause.
std::nullopt_t NoName(int error) {
    errno = error;
    return std::nullopt;
}

std::optional<std::string> ReadLink(const std::string& link) {
    char buffer[PATH_MAX];
    const ssize_t length = readlink(link.c_str(), buffer, sizeof buffer);
    if (length < 0) return std::nullopt;
    if (static_cast<std::size_t>(length) == sizeof buffer) return NoName(ENAMETOOLONG);
    return std::string(buffer, static_cast<std::size_t>(length));
}

// A read-only file is not replaced, even by a caller who could: no write
// permission bit means "keep me", as Windows' read-only attribute does.
bool CallerMayWrite(const char* path, const struct stat& file) {
    if ((file.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return Fail(EACCES);
    return faccessat(AT_FDCWD, path, W_OK, AT_EACCESS) == 0 || errno != EACCES;
}

// What the path itself names: the file reached through any links, or
// nothing (a missing name or a dangling link).
struct Found {
    bool exists = true;
    bool linked = false;
    struct stat file {};
};

// A name that lstat or stat found missing (errno ENOENT): something new
// where creating is allowed.
std::variant<Found, SaveAttempt> Missing(Found found, bool mayCreate) {
    if (errno != ENOENT) return SaveAttempt::FailedWithErrno();
    if (!mayCreate) return SaveAttempt::Failed(EEXIST);
    found.exists = false;
    return found;
}

std::variant<Found, SaveAttempt> WhatPathNames(const char* path, bool mayCreate) {
    Found found;
    if (lstat(path, &found.file) != 0) return Missing(found, mayCreate);
    found.linked = S_ISLNK(found.file.st_mode);
    if (found.linked && stat(path, &found.file) != 0) return Missing(found, mayCreate);
    if (S_ISDIR(found.file.st_mode)) return SaveAttempt::Failed(EISDIR);
    if (!CallerMayWrite(path, found.file)) return SaveAttempt::FailedWithErrno();
    return found;
}

Plan InPlace(bool regular) {
    Plan plan;
    plan.way = Plan::Way::kInPlace;
    plan.truncate = regular;
    return plan;
}

// A brand-new target: made through paths, without a directory descriptor.
Plan NewFile(const std::string& target, const SplitPath& parts) {
    Plan plan;
    plan.way = Plan::Way::kNew;
    plan.where = parts.directory;
    plan.prefix = target.substr(0, target.size() - parts.name.size());  // "" or up to the last slash
    plan.name = target;
    return plan;
}

struct OpenedDirectory {
    FileDescriptor file{};
    bool flushable = true;
};

// The directory, readable for its flush where the caller may read it.
OpenedDirectory OpenDirectory(const std::string& path) {
    OpenedDirectory directory{FileDescriptor(open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)), true};
#ifdef O_PATH
    if (!directory.file.valid() && errno == EACCES) {
        return {FileDescriptor(open(path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC)), false};
    }
#endif
    return directory;
}

// An existing regular file, replaced in its directory; `linked`: reached
// through links.
std::variant<Plan, SaveAttempt> Replacement(const SplitPath& parts, bool linked, const struct stat& replaced,
                                        const SaveOptions& options) {
    Plan plan;
    plan.way = Plan::Way::kReplace;
    plan.name = parts.name;
    plan.replaced = replaced;
    plan.flush = !options.deferFlush;
    if (options.deferFlush && options.flushOwed != nullptr) *options.flushOwed = true;
    OpenedDirectory directory = OpenDirectory(parts.directory);
    if (!directory.file.valid()) return SaveAttempt::FailedWithErrno();
    plan.directoryFile = std::move(directory.file);
    plan.directoryFlushable = directory.flushable;
    plan.reusesWritten = !linked;
    return plan;
}

// The file that links led to, looked at under its final name: the same
// regular file, or nothing when the name is not that file (a link of /proc
// may name a pipe or a deleted file).
std::optional<struct stat> UnderFinalName(const std::string& target, const struct stat& reached) {
    struct stat entry {};
    if (lstat(target.c_str(), &entry) != 0 || !S_ISREG(entry.st_mode) || entry.st_dev != reached.st_dev ||
        entry.st_ino != reached.st_ino) {
        return std::nullopt;
    }
    return entry;
}

// A regular file or nothing: saved under the name the path finally gives.
std::variant<Plan, SaveAttempt> PlanUnderFinalName(const char* path, const Found& found, const SaveOptions& options) {
    const std::optional<std::string> target = found.linked ? FinalName(path) : std::optional<std::string>(path);
    if (!target) return SaveAttempt::FailedWithErrno();
    const SplitPath parts = Split(*target);
    if (!parts.namesAFile()) return SaveAttempt::Failed(EISDIR);
    if (!found.exists) return NewFile(*target, parts);
    if (!found.linked) return Replacement(parts, false, found.file, options);
    const std::optional<struct stat> replaced = UnderFinalName(*target, found.file);
    if (!replaced) return InPlace(S_ISREG(found.file.st_mode));  // written where the link leads
    return Replacement(parts, true, *replaced, options);
}

}  // namespace

std::variant<Plan, SaveAttempt> LookAt(const char* path, const SaveOptions& options, bool mayCreate) {
    std::variant<Found, SaveAttempt> looked = WhatPathNames(path, mayCreate);
    if (SaveAttempt* refused = std::get_if<SaveAttempt>(&looked)) return std::move(*refused);
    const Found& found = std::get<Found>(looked);
    if (found.exists && !S_ISREG(found.file.st_mode)) return InPlace(false);  // a device, FIFO or socket
    return PlanUnderFinalName(path, found, options);
}

SplitPath Split(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return {".", path};
    return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

std::optional<std::string> FinalName(const char* path) {
    std::string name = path;
    for (int followed = 0;; ++followed) {
        struct stat entry {};
        if (lstat(name.c_str(), &entry) != 0) {
            if (errno == ENOENT) return name;
            return std::nullopt;
        }
        if (!S_ISLNK(entry.st_mode)) return name;
        if (followed == kMostLinksFollowed) return NoName(ELOOP);
        const std::optional<std::string> target = ReadLink(name);
        if (!target) return std::nullopt;
        if (target->empty()) return NoName(ENOENT);
        name = (*target)[0] == '/' ? *target : Split(name).directory + "/" + *target;
    }
}

}  // namespace ecc200::platform
