#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <sys/stat.h>

#include "platform/drawing_surface.h"
#include "support/temp_dir.h"

namespace ecc200::platform {
namespace {

namespace fs = std::filesystem;
using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;

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
    ASSERT_TRUE(ReplaceFileWith(File("out.bin").c_str(), {Span("abc"), Span(""), Span("defg"), Span(big)}));
    EXPECT_EQ(ReadFileBytes(File("out.bin")), "abcdefg" + big);
    EXPECT_EQ(Entries(Dir()), std::set<std::string>{"out.bin"});
}

TEST_F(PortableFilesTest, ReplacesAnExistingFile) {
    WriteFileBytes(File("out.bin"), "an older and longer content");
    ASSERT_TRUE(ReplaceFileWith(File("out.bin").c_str(), {Span("new")}));
    EXPECT_EQ(ReadFileBytes(File("out.bin")), "new");
    EXPECT_EQ(Entries(Dir()), std::set<std::string>{"out.bin"});
}

// A new file gets 0666 less the umask, like any file a program creates.
TEST_F(PortableFilesTest, NewFileHasTheUsualPermissions) {
    const mode_t old = umask(022);
    const bool saved = ReplaceFileWith(File("a.bin").c_str(), {Span("a")});
    umask(027);
    const bool savedAgain = ReplaceFileWith(File("b.bin").c_str(), {Span("b")});
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
    EXPECT_FALSE(ReplaceFileWith(nullptr, {Span("a")}));
    EXPECT_FALSE(ReplaceFileWith("", {Span("a")}));
}

TEST_F(PortableFilesTest, MissingDirectoryFailsAndCreatesNothing) {
    EXPECT_FALSE(ReplaceFileWith(File("missing/out.bin").c_str(), {Span("a")}));
    EXPECT_TRUE(Entries(Dir()).empty());
}

// Even root cannot create a file below a regular file or in /proc.
TEST_F(PortableFilesTest, UncreatableFileFails) {
    WriteFileBytes(File("plain"), "plain content");
    EXPECT_FALSE(ReplaceFileWith(File("plain/out.bin").c_str(), {Span("a")}));
    EXPECT_EQ(ReadFileBytes(File("plain")), "plain content");
    EXPECT_EQ(Entries(Dir()), std::set<std::string>{"plain"});
    EXPECT_FALSE(ReplaceFileWith("/proc/ecc200-test-output.bin", {Span("a")}));
    EXPECT_FALSE(fs::exists("/proc/ecc200-test-output.bin"));
}

TEST_F(PortableFilesTest, DirectoryIsNeverReplaced) {
    fs::create_directory(File("folder"));
    WriteFileBytes(File("folder/inside"), "kept");
    EXPECT_FALSE(ReplaceFileWith(File("folder").c_str(), {Span("a")}));
    EXPECT_FALSE(ReplaceFileWith((File("folder") + "/").c_str(), {Span("a")}));
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
        saved = ReplaceFileWith(File("out.bin").c_str(), {Span("header"), Span(big)});
    }
    EXPECT_FALSE(saved);
    EXPECT_EQ(ReadFileBytes(File("out.bin")), "old picture");
    EXPECT_EQ(Entries(Dir()), std::set<std::string>{"out.bin"});
    // Within the limit the same save works.
    {
        const FileSizeLimit limit(10000);
        EXPECT_TRUE(ReplaceFileWith(File("out.bin").c_str(), {Span("header"), Span(big)}));
    }
    EXPECT_EQ(ReadFileBytes(File("out.bin")), "header" + big);
}

}  // namespace
}  // namespace ecc200::platform
