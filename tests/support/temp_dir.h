// A private temporary directory that is removed with everything in it when
// the object goes, plus whole-file reads and writes.
#pragma once

#include <string>

namespace ecc200::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // Path of the entry `name` inside the directory.
    std::string file(const std::string& name) const;

private:
    std::string path_;
};

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);

}  // namespace ecc200::test
