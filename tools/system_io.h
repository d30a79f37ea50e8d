// The few operating-system services the tool needs beyond the library, one
// implementation for POSIX systems and one for Windows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <system_error>

namespace ecc200::tool {

bool StdinIsTerminal();
bool StdoutIsTerminal();
bool StderrIsTerminal();

// Switches standard input and output to binary mode (Windows translates
// line ends otherwise; nothing to do elsewhere).
void UseBinaryStandardStreams();

// Reads a whole file ("-" for standard input). Returns false with errno set
// to the cause.
bool ReadWholeFile(const std::string& path, std::string& content);

// Writes all bytes to standard output. Returns false with errno set.
bool WriteStandardOutput(const std::uint8_t* data, std::size_t size);

// Why files cannot be made in `directory` (it is missing, not a directory
// or not writable); no error when they can.
std::error_code FolderProblem(const std::string& directory);

// The file a new file renamed over `path` replaces: `path` when nothing is
// there, the regular file it names (through symbolic links) when there is
// one; nothing for a device, a pipe or anything else that is written in
// place (a label printer's /dev/usb/lp0, say).
std::optional<std::string> ReplaceableFile(const std::string& path);

// A new file in the directory of `path`, under a name no file had, open
// for writing ("wb"), with the permissions a new file at `path` would get
// (those of the file there, if any); its name in `temporary`. Null with
// errno set when it cannot be made.
std::FILE* CreateFileBeside(const std::string& path, std::string& temporary);

// Renames `temporary` over `path` in one step, so that `path` is either the
// old file or the whole new one. False with errno set.
bool RenameOver(const std::string& temporary, const std::string& path);

// The directory part of a path ("." when it has none).
std::string DirectoryOf(const std::string& path);

}  // namespace ecc200::tool
