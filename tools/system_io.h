// The few operating-system services the tool needs beyond the library, one
// implementation for POSIX systems and one for Windows.
#pragma once

#include <cstddef>
#include <cstdint>
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

// The directory part of a path ("." when it has none).
std::string DirectoryOf(const std::string& path);

}  // namespace ecc200::tool
