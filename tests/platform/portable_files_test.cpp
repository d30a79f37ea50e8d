#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/inotify.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/drawing_surface.h"
#include "support/temp_dir.h"

namespace ecc200::platform {
namespace {

namespace fs = std::filesystem;
using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;

// The errno value a failed save reports (FileError's systemError), 0 when
// it saved.
int SaveErrno(const Outcome& saved) {
    if (saved.ok()) return 0;
    return saved.failure == Failure::FileError ? saved.systemError : -1;
}

ByteSpan Span(const std::string& s) { return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()}; }

std::set<std::string> Entries(const fs::path& directory) {
    std::set<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(directory)) names.insert(entry.path().filename().string());
    return names;
}

class PortableFilesTest : public ::testing::Test {
protected:
    fs::path Dir() const { return fs::path(dir_.file("x")).parent_path(); }
    std::string File(const std::string& name) const { return dir_.file(name); }

    TempDir dir_;
};

TEST_F(PortableFilesTest, WritesThePiecesInOrder) {
    const std::string big(1 << 20, 'z');
    ASSERT_TRUE(ReplaceFileWith(File("out.bin").c_str(), {Span("abc"), Span(""), Span("defg"), Span(big)}).ok());
    EXPECT_EQ(ReadFileBytes(File("out.bin")), "abcdefg" + big);
    EXPECT_EQ(Entries(Dir()), std::set<std::string>{"out.bin"});
}

TEST_F(PortableFilesTest, ReplacesAnExistingFile) {
    WriteFileBytes(File("out.bin"), "an older and longer content");
    ASSERT_TRUE(ReplaceFileWith(File("out.bin").c_str(), {Span("new")}).ok());
    EXPECT_EQ(ReadFileBytes(File("out.bin")), "new");
    EXPECT_EQ(Entries(Dir()), std::set<std::string>{"out.bin"});
}

// A new file gets 0666 less the umask, like any file a program creates.
TEST_F(PortableFilesTest, NewFileHasTheUsualPermissions) {
    const mode_t old = umask(022);
    const bool saved = ReplaceFileWith(File("a.bin").c_str(), {Span("a")}).ok();
    umask(027);
    const bool savedAgain = ReplaceFileWith(File("b.bin").c_str(), {Span("b")}).ok();
    umask(old);
    ASSERT_TRUE(saved && savedAgain);
    struct stat a {};
    struct stat b {};
    ASSERT_EQ(stat(File("a.bin").c_str(), &a), 0);
    ASSERT_EQ(stat(File("b.bin").c_str(), &b), 0);
    EXPECT_EQ(a.st_mode & 0777, 0644u);
    EXPECT_EQ(b.st_mode & 0777, 0640u);
}

TEST_F(PortableFilesTest, NullOrEmptyPathFails) {
    EXPECT_FALSE(ReplaceFileWith(nullptr, {Span("a")}).ok());
    EXPECT_FALSE(ReplaceFileWith("", {Span("a")}).ok());
}

TEST_F(PortableFilesTest, MissingDirectoryFailsAndCreatesNothing) {
    EXPECT_FALSE(ReplaceFileWith(File("missing/out.bin").c_str(), {Span("a")}).ok());
    EXPECT_TRUE(Entries(Dir()).empty());
}

// Even root cannot create a file below a regular file or in /proc.
TEST_F(PortableFilesTest, UncreatableFileFails) {
    WriteFileBytes(File("plain"), "plain content");
    EXPECT_FALSE(ReplaceFileWith(File("plain/out.bin").c_str(), {Span("a")}).ok());
    EXPECT_EQ(ReadFileBytes(File("plain")), "plain content");
    EXPECT_EQ(Entries(Dir()), std::set<std::string>{"plain"});
    EXPECT_FALSE(ReplaceFileWith("/proc/ecc200-test-output.bin", {Span("a")}).ok());
    EXPECT_FALSE(fs::exists("/proc/ecc200-test-output.bin"));
}

TEST_F(PortableFilesTest, DirectoryIsNeverReplaced) {
    fs::create_directory(File("folder"));
    WriteFileBytes(File("folder/inside"), "kept");
    EXPECT_FALSE(ReplaceFileWith(File("folder").c_str(), {Span("a")}).ok());
    EXPECT_FALSE(ReplaceFileWith((File("folder") + "/").c_str(), {Span("a")}).ok());
    EXPECT_TRUE(fs::is_directory(File("folder")));
    EXPECT_EQ(Entries(File("folder")), std::set<std::string>{"inside"});
    EXPECT_EQ(ReadFileBytes(File("folder/inside")), "kept");
    EXPECT_EQ(Entries(Dir()), std::set<std::string>{"folder"});
}

// A file size limit makes writing fail part way through, as a full disk
// does; root is bound by it too. The old file stays whole and the partly
// written new one is removed.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);  // write then fails with EFBIG
        rlimit limited = old_;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
};

TEST_F(PortableFilesTest, FailedWriteKeepsTheOldFile) {
    WriteFileBytes(File("out.bin"), "old picture");
    const std::string big(5000, 'n');
    bool saved = true;
    {
        const FileSizeLimit limit(1000);
        saved = ReplaceFileWith(File("out.bin").c_str(), {Span("header"), Span(big)}).ok();
    }
    EXPECT_FALSE(saved);
    EXPECT_EQ(ReadFileBytes(File("out.bin")), "old picture");
    EXPECT_EQ(Entries(Dir()), std::set<std::string>{"out.bin"});
    // Within the limit the same save works.
    {
        const FileSizeLimit limit(10000);
        EXPECT_TRUE(ReplaceFileWith(File("out.bin").c_str(), {Span("header"), Span(big)}).ok());
    }
    EXPECT_EQ(ReadFileBytes(File("out.bin")), "header" + big);
}


struct stat StatOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(lstat(path.c_str(), &st), 0) << path;
    return st;
}

// Runs `body` in a child process and returns its exit status (or 128 + the
// signal that ended it): for what a test must not do to itself, such as
// dropping root or filtering system calls.
int InChild(const std::function<int()>& body) {
    const pid_t child = fork();
    if (child == 0) _exit(body());
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// The errno of a failed save as the child's exit status, 0 for success.
int SaveStatus(const std::string& path, const std::string& content) {
    return SaveErrno(ReplaceFileWith(path.c_str(), {Span(content)}));
}

TEST_F(PortableFilesTest, FailuresSetErrnoToTheirCause) {
    fs::create_directory(File("folder"));
    const std::vector<std::pair<std::string, int>> cases = {
        {File("missing/out.bin"), ENOENT}, {File("folder"), EISDIR}, {File("new/"), EISDIR},
        {File(std::string(256, 'n')), ENAMETOOLONG}, {"", ENOENT}};
    for (const auto& [path, cause] : cases) {
        EXPECT_EQ(SaveErrno(ReplaceFileWith(path.c_str(), {Span("a")})), cause) << path;
    }
    EXPECT_EQ(SaveErrno(ReplaceFileWith(nullptr, {Span("a")})), EINVAL);
    EXPECT_EQ(Entries(Dir()), std::set<std::string>{"folder"});
}

// The longest name a file system takes, new and replaced: the temporary
// name does not grow with it.
TEST_F(PortableFilesTest, NamesOf255BytesAreSaved) {
    const std::string name(255, 'n');
    ASSERT_TRUE(ReplaceFileWith(File(name).c_str(), {Span("first")}).ok());
    ASSERT_TRUE(ReplaceFileWith(File(name).c_str(), {Span("second")}).ok());
    EXPECT_EQ(ReadFileBytes(File(name)), "second");
    EXPECT_EQ(Entries(Dir()), std::set<std::string>{name});
}

TEST_F(PortableFilesTest, DanglingSymlinkCreatesTheFileItNamesWhereItsDirectoryExists) {
    fs::create_directory(File("sub"));
    fs::create_symlink("sub/made.bin", File("dangling"));
    fs::create_symlink("dangling", File("chain"));
    ASSERT_TRUE(ReplaceFileWith(File("chain").c_str(), {Span("made")}).ok());
    EXPECT_EQ(ReadFileBytes(File("sub/made.bin")), "made");
    EXPECT_TRUE(fs::is_symlink(File("dangling")) && fs::is_symlink(File("chain")));

    fs::create_symlink("nowhere/x.bin", File("lost"));
    EXPECT_EQ(SaveErrno(ReplaceFileWith(File("lost").c_str(), {Span("x")})), ENOENT);
    fs::create_symlink("loop-b", File("loop-a"));
    fs::create_symlink("loop-a", File("loop-b"));
    EXPECT_EQ(SaveErrno(ReplaceFileWith(File("loop-a").c_str(), {Span("x")})), ELOOP);
    EXPECT_EQ(Entries(Dir()), (std::set<std::string>{"chain", "dangling", "lost", "loop-a", "loop-b", "sub"}));
    EXPECT_EQ(Entries(File("sub")), std::set<std::string>{"made.bin"});
}

// Permission bits survive the replacement whatever the umask (owner and
// group: save_faults.sh), for a small file (first tried as a new one) and
// a large one (the path looked at first).
TEST_F(PortableFilesTest, ReplacedFileKeepsItsMode) {
    const mode_t old = umask(077);
    for (const std::string& content : {std::string("new"), std::string(100000, 'n')}) {
        for (const mode_t mode : {0600, 0640, 0664, 0604}) {
            WriteFileBytes(File("kept.bin"), "old");
            ASSERT_EQ(chmod(File("kept.bin").c_str(), mode), 0);
            ASSERT_TRUE(ReplaceFileWith(File("kept.bin").c_str(), {Span(content)}).ok());
            EXPECT_EQ(StatOf(File("kept.bin")).st_mode & 07777, mode);
            EXPECT_EQ(ReadFileBytes(File("kept.bin")), content);
        }
    }
    umask(old);
}

// A read-only file is kept even for root (other users: save_faults.sh).
TEST_F(PortableFilesTest, ReadOnlyFileIsNotReplaced) {
    WriteFileBytes(File("read-only.bin"), "kept");
    ASSERT_EQ(chmod(File("read-only.bin").c_str(), 0444), 0);
    EXPECT_EQ(SaveErrno(ReplaceFileWith(File("read-only.bin").c_str(), {Span("lost")})), EACCES);
    EXPECT_EQ(ReadFileBytes(File("read-only.bin")), "kept");
}

// A FIFO is written in place: the reader gets every byte and the FIFO stays
// one. A reader that goes away early makes the save fail with EPIPE, and the
// SIGPIPE it raises does not end the process.
TEST_F(PortableFilesTest, FifoIsWrittenInPlace) {
    ASSERT_EQ(mkfifo(File("fifo").c_str(), 0644), 0);
    const std::string big(1 << 20, 'f');
    std::string received;
    std::thread reader([&] { received = ReadFileBytes(File("fifo")); });
    EXPECT_TRUE(ReplaceFileWith(File("fifo").c_str(), {Span("head"), Span(big)}).ok());
    reader.join();
    EXPECT_EQ(received, "head" + big);
    EXPECT_TRUE(S_ISFIFO(StatOf(File("fifo")).st_mode));

    std::thread quitter([&] {
        const int fd = open(File("fifo").c_str(), O_RDONLY);
        char ten[10];
        EXPECT_EQ(read(fd, ten, sizeof ten), 10);
        close(fd);
    });
    EXPECT_EQ(SaveErrno(ReplaceFileWith(File("fifo").c_str(), {Span(big), Span(big)})), EPIPE);
    quitter.join();
    EXPECT_EQ(Entries(Dir()), std::set<std::string>{"fifo"});
}

// Character devices (made here: the null and the full device) are written
// in place and stay devices; the full one reports ENOSPC.
TEST_F(PortableFilesTest, CharacterDevicesAreWrittenInPlace) {
    if (mknod(File("null").c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0 ||
        mknod(File("full").c_str(), S_IFCHR | 0666, makedev(1, 7)) != 0) {
        GTEST_SKIP() << "cannot make device nodes here";
    }
    const int probe = open(File("null").c_str(), O_WRONLY);
    if (probe < 0) GTEST_SKIP() << "device nodes cannot be opened on this file system";
    close(probe);
    EXPECT_TRUE(ReplaceFileWith(File("null").c_str(), {Span("to nowhere")}).ok());
    EXPECT_EQ(SaveErrno(ReplaceFileWith(File("full").c_str(), {Span("no room")})), ENOSPC);
    EXPECT_TRUE(S_ISCHR(StatOf(File("null")).st_mode));
    EXPECT_TRUE(S_ISCHR(StatOf(File("full")).st_mode));
    EXPECT_EQ(Entries(Dir()), (std::set<std::string>{"full", "null"}));
}

// Every name the directory shows during `save`, in order: (event, name).
std::vector<std::pair<std::uint32_t, std::string>> NamesShownDuring(const fs::path& directory,
                                                                    const std::function<void()>& save) {
    const int watch = inotify_init1(IN_NONBLOCK);
    inotify_add_watch(watch, directory.c_str(), IN_CREATE | IN_MODIFY | IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE);
    save();
    std::vector<std::pair<std::uint32_t, std::string>> events;
    alignas(inotify_event) char buffer[65536];
    for (ssize_t length; (length = read(watch, buffer, sizeof buffer)) > 0;) {
        for (char* p = buffer; p < buffer + length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(p);
            events.emplace_back(event->mask, event->len > 0 ? std::string(event->name) : std::string());
            p += sizeof(inotify_event) + event->len;
        }
    }
    close(watch);
    return events;
}

// With O_TMPFILE a new target is the only name that ever appears; a
// replaced one is reached through a short hidden name that appears after
// the content is written and goes with the rename.
TEST_F(PortableFilesTest, TemporaryFileIsNamedOnlyForTheRename) {
    for (const std::string& big : {std::string(100000, 't'), std::string(1000, 't')}) {
        const auto created = NamesShownDuring(Dir(), [&] { ASSERT_TRUE(ReplaceFileWith(File("out.bin").c_str(), {Span(big)}).ok()); });
        for (const auto& [mask, name] : created) {
            if (mask & (IN_CREATE | IN_MOVED_TO)) {
                EXPECT_EQ(name, "out.bin");
            }
        }
        const auto replaced = NamesShownDuring(Dir(), [&] { ASSERT_TRUE(ReplaceFileWith(File("out.bin").c_str(), {Span(big)}).ok()); });
        std::set<std::string> shown;
        for (std::size_t i = 0; i < replaced.size(); ++i) {
            const auto& [mask, name] = replaced[i];
            if ((mask & IN_CREATE) == 0) continue;
            shown.insert(name);
            EXPECT_EQ(name.rfind(".ecc200-", 0), 0u) << name;
            EXPECT_LE(name.size(), 14u);
            ASSERT_LT(i + 1, replaced.size());
            EXPECT_EQ(replaced[i + 1], std::make_pair(std::uint32_t{IN_MOVED_FROM}, name));  // nothing written under it
        }
        EXPECT_EQ(shown.size(), 1u);
        EXPECT_EQ(Entries(Dir()), std::set<std::string>{"out.bin"});
        ASSERT_EQ(unlink(File("out.bin").c_str()), 0);
    }
}

// Where O_TMPFILE is refused (a seccomp filter refuses it here, as a file
// system without it does), the new file has a short hidden name from the
// start; it is gone afterwards, and the mode rules hold the same.
TEST_F(PortableFilesTest, WithoutOTmpfileAShortHiddenNameIsUsed) {
    WriteFileBytes(File("kept.bin"), "old");
    ASSERT_EQ(chmod(File("kept.bin").c_str(), 0600), 0);
    std::vector<std::pair<std::uint32_t, std::string>> events;
    const int status = InChild([&] {
        sock_filter filter[] = {
            BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
            BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, SYS_openat, 0, 3),
            BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, args[2])),  // flags, low half
            BPF_JUMP(BPF_JMP | BPF_JSET | BPF_K, O_TMPFILE & ~O_DIRECTORY, 0, 1),
            BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | EOPNOTSUPP),
            BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
        };
        const sock_fprog program{static_cast<unsigned short>(sizeof filter / sizeof filter[0]), filter};
        if (prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0 || prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) != 0) return 99;
        if (open(Dir().c_str(), O_TMPFILE | O_WRONLY, 0600) >= 0 || errno != EOPNOTSUPP) return 98;
        umask(022);
        int failures = 0;
        const auto shown = NamesShownDuring(Dir(), [&] {
            failures += SaveStatus(File("kept.bin"), "new") != 0;
            failures += SaveStatus(File("fresh.bin"), "fresh") != 0;
        });
        for (const auto& [mask, name] : shown) {
            const bool isTarget = name == "kept.bin" || name == "fresh.bin";
            if ((mask & IN_CREATE) && !isTarget && (name.rfind(".ecc200-", 0) != 0 || name.size() > 14)) ++failures;
        }
        return failures;
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(ReadFileBytes(File("kept.bin")), "new");
    EXPECT_EQ(StatOf(File("kept.bin")).st_mode & 0777, 0600u);
    EXPECT_EQ(StatOf(File("fresh.bin")).st_mode & 0777, 0644u);
    EXPECT_EQ(Entries(Dir()), (std::set<std::string>{"fresh.bin", "kept.bin"}));
}

// A full file system (a small tmpfs, mounted in a mount namespace of a
// child process of its own): the save fails with ENOSPC, the old file is
// whole and nothing is left.
TEST_F(PortableFilesTest, FullFileSystemKeepsTheOldFile) {
    const int status = InChild([&] {
        if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            mount("tmpfs", Dir().c_str(), "tmpfs", 0, "size=64k") != 0) {
            return 77;
        }
        WriteFileBytes(File("old.bin"), std::string(40000, 'o'));
        const int full = SaveStatus(File("old.bin"), std::string(40000, 'n'));
        const int fresh = SaveStatus(File("new.bin"), std::string(40000, 'n'));
        const bool kept = ReadFileBytes(File("old.bin")) == std::string(40000, 'o');
        const bool clean = Entries(Dir()) == std::set<std::string>{"old.bin"};
        const bool room = SaveStatus(File("old.bin"), "small") == 0 && ReadFileBytes(File("old.bin")) == "small";
        return full == ENOSPC && fresh == ENOSPC && kept && clean && room ? 0 : 1;
    });
    if (status == 77) GTEST_SKIP() << "cannot mount a tmpfs here";
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(Entries(Dir()).empty());  // the tmpfs was the child's alone
}

// With deferFlush the same files are written; the one flush follows.
TEST_F(PortableFilesTest, DeferredFlushWritesTheSameAndFlushesOnce) {
    WriteFileBytes(File("a.bin"), "old");
    bool owedByNew = false;
    bool owedByReplaced = false;
    ASSERT_TRUE(ReplaceFileWith(File("b.bin").c_str(), {Span("new b")}, SaveOptions{true, &owedByNew}).ok());
    ASSERT_TRUE(ReplaceFileWith(File("a.bin").c_str(), {Span("new a")}, SaveOptions{true, &owedByReplaced}).ok());
    EXPECT_FALSE(owedByNew);  // a new file owes no flush
    EXPECT_TRUE(owedByReplaced);
    EXPECT_TRUE(FlushFileSystemOf(File("b.bin").c_str()).ok());
    EXPECT_TRUE(FlushFileSystemOf(File("no-such-file").c_str()).ok());  // its directory's file system
    EXPECT_FALSE(FlushFileSystemOf(File("no/such/dir").c_str()).ok());
    EXPECT_EQ(ReadFileBytes(File("a.bin")), "new a");
    EXPECT_EQ(ReadFileBytes(File("b.bin")), "new b");
    // A small file is first tried as a new one; where the name is taken the
    // file is replaced all the same, a link stays a link, nothing else is
    // left.
    ASSERT_EQ(symlink("b.bin", File("link.bin").c_str()), 0);
    for (const char* name : {"a.bin", "link.bin", "c.bin"}) {
        bool owed = false;
        EXPECT_TRUE(ReplaceFileWith(File(name).c_str(), {Span("expected "), Span(name)}, SaveOptions{true, &owed}).ok());
        EXPECT_EQ(owed, std::string(name) != "c.bin") << name;
    }
    EXPECT_EQ(ReadFileBytes(File("a.bin")), "expected a.bin");
    EXPECT_EQ(ReadFileBytes(File("b.bin")), "expected link.bin");
    EXPECT_EQ(ReadFileBytes(File("c.bin")), "expected c.bin");
    struct stat link {};
    ASSERT_EQ(lstat(File("link.bin").c_str(), &link), 0);
    EXPECT_TRUE(S_ISLNK(link.st_mode));
    EXPECT_EQ(Entries(Dir()), (std::set<std::string>{"a.bin", "b.bin", "c.bin", "link.bin"}));
}

}  // namespace
}  // namespace ecc200::platform
