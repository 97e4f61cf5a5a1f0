// Helpers shared by the tests: temporary data folders and a recording message box.
#pragma once
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "recording_message_boxes.h"

namespace ts::test {

// A fresh folder under the system temp folder, removed at destruction.
class TempDir {
public:
    TempDir();
    ~TempDir();
    const std::filesystem::path& path() const { return path_; }
    // Writes bytes to a file below the folder, creating sub-folders.
    std::string write(const std::string& relative, const std::string& bytes) const;

private:
    std::filesystem::path path_;
};

// Changes the working folder for the lifetime of the object.
class ScopedCwd {
public:
    explicit ScopedCwd(const std::filesystem::path& dir);
    ~ScopedCwd();

private:
    std::filesystem::path old_;
};

// Runs `body` in a child process whose files cannot grow past `bytes` (a full
// disk, as the writers see it: writes fail with EFBIG, SIGXFSZ ignored); the
// child's exit status, or -1 when it did not exit.
int withFileSizeLimit(long bytes, const std::function<int()>& body);

// The shell words that give the program run after them the same limit.
std::string fileSizeLimitPrefix(long bytes);

// The shell words that run the program after them with `dir` read-only for
// it (a read-only bind mount in a mount namespace of its own, so root too is
// refused); empty when this machine allows none.
std::string readOnlyFolderPrefix(const std::string& dir);

// The bytes of a file, empty when it cannot be read.
std::string slurpFile(const std::filesystem::path& path);

}  // namespace ts::test
