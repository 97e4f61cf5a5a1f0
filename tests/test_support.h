// Helpers shared by the tests: temporary data folders and a recording message box.
#pragma once
#include <filesystem>
#include <fstream>
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

}  // namespace ts::test
