#include "system_io.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
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
#else
bool StdinIsTerminal() { return isatty(STDIN_FILENO) != 0; }
bool StdoutIsTerminal() { return isatty(STDOUT_FILENO) != 0; }
bool StderrIsTerminal() { return isatty(STDERR_FILENO) != 0; }
void UseBinaryStandardStreams() {}
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

std::error_code FolderProblem(const std::string& directory) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(directory, error);
    if (error) return error;
    if (!std::filesystem::is_directory(status)) return std::make_error_code(std::errc::not_a_directory);
#ifdef _WIN32
    const bool writable = _access(directory.c_str(), 2) == 0;
#else
    const bool writable = access(directory.c_str(), W_OK | X_OK) == 0;
#endif
    return writable ? std::error_code() : std::error_code(errno, std::generic_category());
}

std::string DirectoryOf(const std::string& path) {
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    return parent.empty() ? std::string(".") : parent.string();
}

}  // namespace ecc200::tool
