#include "system_io.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <process.h>
#else
#include <unistd.h>
#endif

namespace ecc200::tool {

#ifdef _WIN32
bool StdinIsTerminal() { return _isatty(0) != 0; }
bool StdoutIsTerminal() { return _isatty(1) != 0; }
bool StderrIsTerminal() { return _isatty(2) != 0; }
void UseBinaryStandardStreams() {
    _setmode(0, _O_BINARY);
    _setmode(1, _O_BINARY);
}
static long ProcessId() { return static_cast<long>(_getpid()); }
#else
bool StdinIsTerminal() { return isatty(STDIN_FILENO) != 0; }
bool StdoutIsTerminal() { return isatty(STDOUT_FILENO) != 0; }
bool StderrIsTerminal() { return isatty(STDERR_FILENO) != 0; }
void UseBinaryStandardStreams() {}
static long ProcessId() { return static_cast<long>(getpid()); }
#endif

bool ReadWholeFile(const std::string& path, std::string& content) {
    // stdio, so that a read error (a directory, say) is seen and named.
    const bool standardInput = path == "-";
    errno = 0;
    std::FILE* file = standardInput ? stdin : std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    content.clear();
    char buffer[65536];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) content.append(buffer, got);
    const int readError = std::ferror(file) != 0 ? (errno != 0 ? errno : EIO) : 0;
    if (!standardInput) std::fclose(file);
    errno = readError;
    return readError == 0;
}

bool WriteStandardOutput(const std::uint8_t* data, std::size_t size) {
    errno = 0;
    const bool written = std::fwrite(data, 1, size, stdout) == size && std::fflush(stdout) == 0;
    if (!written && errno == 0) errno = EIO;
    return written;
}

std::string PrivateTemporaryPath(const std::string& extension) {
    static std::atomic<unsigned> counter{0};
    std::error_code error;
    std::filesystem::path directory = std::filesystem::temp_directory_path(error);
    if (error) directory = ".";
    const std::string name =
        "ecc200-" + std::to_string(ProcessId()) + "-" + std::to_string(counter.fetch_add(1)) + extension;
    return (directory / name).string();
}

std::string DirectoryOf(const std::string& path) {
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    return parent.empty() ? std::string(".") : parent.string();
}

}  // namespace ecc200::tool
