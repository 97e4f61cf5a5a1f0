// Writing a user's file so that it is either whole or untouched: the bytes go
// to a new file beside the target, are flushed to the disk and renamed over it.
// A symbolic link is kept: the file it names is the one replaced, in its own
// folder. Every writer of the program (route files, reports, recordings,
// traces, gamepad.txt, the GPS import's backups) goes through this.
#pragma once
#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>

namespace ts {

// Where a write to `path` lands: the file its symbolic links name, followed
// to the end (a dangling link names the file it would create), else `path`.
std::string writeTarget(const std::string& path);

// A new file beside `path`'s target, renamed over it at `commit`.
class FileReplacement {
public:
    FileReplacement() = default;
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;
    // Removes the new file when it was not committed: the target stays as it was.
    ~FileReplacement();

    // Creates the new file (private, unpredictable name); false with `error`
    // when the target's folder takes none or the target is a folder. A device
    // or a pipe (/dev/null) is opened and written as it is.
    bool open(const std::string& path, std::string* error);
    // False once any write failed (a full disk, a file size limit); the first
    // failure is kept for `commit`'s error.
    bool write(std::string_view bytes);
    // Moves where the next write lands (lseek's `whence`); the new position,
    // or -1 (kept as a failure) when the file takes none.
    int64_t seek(int64_t offset, int whence);
    bool failed() const { return writeErrno_ != 0; }
    // The first failure's errno (ENOSPC, EFBIG, ...), 0 while none.
    int failureErrno() const { return writeErrno_; }
    std::string failure() const;
    // Flushes to the disk, gives the new file the old one's permissions and
    // renames it over the target. With `keepExisting` an existing target is
    // kept and the call fails with EEXIST (`*exists` set). On any failure the
    // new file is removed and the target is untouched.
    bool commit(std::string* error, bool keepExisting = false, bool* exists = nullptr);
    void discard();

private:
    int fd_ = -1;
    std::string path_, target_, temp_;
    int writeErrno_ = 0;
    bool direct_ = false;  // a device or pipe, written in place
};

// The whole of `bytes` to `path`, or nothing; false with `error` saying why.
bool replaceFile(const std::string& path, std::string_view bytes, std::string* error);
// The same, but only where no file is yet: false with `*exists` when one is.
bool createFileWhole(const std::string& path, std::string_view bytes, std::string* error, bool* exists);

// A stream that writes through a FileReplacement: it fails (badbit) on the
// first write that does not reach the file, and `commit` puts the file in place.
class WholeFileStream : public std::ostream {
public:
    WholeFileStream();
    ~WholeFileStream() override;
    bool open(const std::string& path, std::string* error);
    bool commit(std::string* error);
    // Gives the file up: the target stays as it was.
    void discard();
    // Why the stream failed, empty while it has not.
    std::string failure() const;

private:
    class Buffer;
    std::unique_ptr<Buffer> buffer_;
};

}  // namespace ts
