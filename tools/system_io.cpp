#include "system_io.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
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

std::optional<std::string> ReplaceableFile(const std::string& path) {
    std::error_code error;
    const std::filesystem::file_status target = std::filesystem::status(path, error);
    if (target.type() == std::filesystem::file_type::not_found) {
        // A dangling symbolic link is written through, as fopen would.
        const bool link = std::filesystem::is_symlink(std::filesystem::symlink_status(path, error));
        return link ? std::nullopt : std::optional<std::string>(path);
    }
    if (!std::filesystem::is_regular_file(target)) return std::nullopt;
    const std::filesystem::path resolved = std::filesystem::canonical(path, error);
    return error ? std::nullopt : std::optional<std::string>(resolved.string());
}

#ifdef _WIN32
std::FILE* CreateFileBeside(const std::string& path, std::string& temporary) {
    // _O_EXCL: a name already taken is never opened; the next is tried.
    const unsigned long process = GetCurrentProcessId();
    for (int attempt = 0; attempt < 1000; ++attempt) {
        temporary = path + ".tmp" + std::to_string(process) + "-" + std::to_string(attempt);
        const int fd = _open(temporary.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
        if (fd >= 0) {
            std::FILE* file = _fdopen(fd, "wb");
            if (file == nullptr) {
                _close(fd);
                std::remove(temporary.c_str());
            }
            return file;
        }
        if (errno != EEXIST) return nullptr;
    }
    errno = EEXIST;
    return nullptr;
}

bool RenameOver(const std::string& temporary, const std::string& path) {
    if (MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0) return true;
    errno = GetLastError() == ERROR_ACCESS_DENIED ? EACCES : EIO;
    return false;
}
#else
std::FILE* CreateFileBeside(const std::string& path, std::string& temporary) {
    // A hidden name beside the target (the same file system, so that the
    // rename is one step), made by mkstemp with mode 0600; then the mode of
    // the file it replaces, or 0666 less the umask for a new one.
    const std::filesystem::path target(path);
    temporary = (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
    const int fd = mkstemp(&temporary[0]);
    if (fd < 0) return nullptr;
    struct stat existing {};
    mode_t mode = 0;
    if (stat(path.c_str(), &existing) == 0) {
        mode = existing.st_mode & 07777;
    } else {
        const mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }
    std::FILE* file = fchmod(fd, mode) == 0 ? fdopen(fd, "wb") : nullptr;
    if (file == nullptr) {
        const int cause = errno;
        close(fd);
        unlink(temporary.c_str());
        errno = cause;
    }
    return file;
}

bool RenameOver(const std::string& temporary, const std::string& path) {
    return std::rename(temporary.c_str(), path.c_str()) == 0;
}
#endif

std::string DirectoryOf(const std::string& path) {
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    return parent.empty() ? std::string(".") : parent.string();
}

}  // namespace ecc200::tool
