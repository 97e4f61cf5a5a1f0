#include "data/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <streambuf>

namespace ts {

namespace fs = std::filesystem;

namespace {

bool setError(std::string* error, const std::string& why) {
    if (error) *error = why;
    return false;
}

std::string folderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The rename is on the disk only once the folder is.
void syncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

std::string writeTarget(const std::string& path) {
    std::string p = path;
    // As many links as the kernel follows; a loop ends at the last one tried.
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(p, ec)) || ec) return p;
        const fs::path to = fs::read_symlink(p, ec);
        if (ec) return p;
        p = to.is_absolute() ? to.string() : (fs::path(folderOf(p)) / to).string();
    }
    return p;
}

FileReplacement::~FileReplacement() { discard(); }

bool FileReplacement::open(const std::string& path, std::string* error) {
    discard();
    path_ = path;
    target_ = writeTarget(path);
    writeErrno_ = 0;
    direct_ = false;
    struct stat there {};
    if (::stat(target_.c_str(), &there) == 0 && !S_ISREG(there.st_mode)) {
        if (S_ISDIR(there.st_mode)) return setError(error, "cannot write \"" + path + "\": it is a folder");
        // A device or a pipe (/dev/null, a terminal, a FIFO) is written as it is: there is no
        // file to keep whole, and a new file renamed over it would take its place.
        fd_ = ::open(target_.c_str(), O_WRONLY | O_CLOEXEC);
        if (fd_ < 0) return setError(error, "cannot write \"" + path + "\": " + std::strerror(errno));
        direct_ = true;
        return true;
    }
    temp_ = folderOf(target_) + "/." + nameOf(target_) + ".XXXXXX";
    fd_ = ::mkostemp(temp_.data(), O_CLOEXEC);
    if (fd_ < 0) {
        const int e = errno;
        temp_.clear();
        return setError(error, "cannot write beside \"" + path + "\": " + std::strerror(e));
    }
    return true;
}

bool FileReplacement::write(std::string_view bytes) {
    if (fd_ < 0 || writeErrno_) return false;
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            writeErrno_ = n < 0 ? errno : ENOSPC;
            return false;
        }
        done += size_t(n);
    }
    return true;
}

int64_t FileReplacement::seek(int64_t offset, int whence) {
    if (fd_ < 0 || writeErrno_) return -1;
    const off_t at = ::lseek(fd_, off_t(offset), whence);
    if (at < 0) writeErrno_ = errno;
    return at < 0 ? -1 : int64_t(at);
}

std::string FileReplacement::failure() const {
    if (!writeErrno_) return {};
    return "cannot write \"" + path_ + "\": " + std::strerror(writeErrno_);
}

bool FileReplacement::commit(std::string* error, bool keepExisting, bool* exists) {
    if (exists) *exists = false;
    if (fd_ < 0) return setError(error, "cannot write \"" + path_ + "\": it was not opened");
    if (writeErrno_) {
        const std::string why = failure();
        discard();
        return setError(error, why);
    }
    int e = 0;
    if (direct_) {
        if (keepExisting) {
            if (exists) *exists = true;
            discard();
            return setError(error, "cannot write \"" + path_ + "\": " + std::strerror(EEXIST));
        }
        if (::close(fd_) != 0) e = errno;
        fd_ = -1;
        return e ? setError(error, "cannot write \"" + path_ + "\": " + std::strerror(e)) : true;
    }
    if (::fsync(fd_) != 0) e = errno;
    // The new file keeps the old one's permissions (a new one those of a data file), not mkstemp's private ones.
    struct stat old {};
    if (!e) ::fchmod(fd_, ::stat(target_.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644);
    if (::close(fd_) != 0 && !e) e = errno;
    fd_ = -1;
    if (e) {
        discard();
        return setError(error, "cannot write \"" + path_ + "\": " + std::strerror(e));
    }
    if (keepExisting) {
        // A hard link never replaces what is there; the temporary name then goes. A file system
        // without hard links (a FAT stick) gets a look first and a rename, which a race could lose.
        int linked = ::link(temp_.c_str(), target_.c_str());
        if (linked != 0 && (errno == EPERM || errno == ENOTSUP || errno == ENOSYS)) {
            struct stat there {};
            if (::lstat(target_.c_str(), &there) == 0)
                errno = EEXIST;
            else if ((linked = ::rename(temp_.c_str(), target_.c_str())) == 0)
                temp_.clear();
        }
        if (linked != 0) {
            e = errno;
            if (e == EEXIST && exists) *exists = true;
            discard();
            return setError(error, "cannot write \"" + path_ + "\": " + std::strerror(e));
        }
        if (!temp_.empty()) ::unlink(temp_.c_str());
    } else if (::rename(temp_.c_str(), target_.c_str()) != 0) {
        e = errno;
        discard();
        return setError(error, "cannot replace \"" + path_ + "\": " + std::strerror(e));
    }
    temp_.clear();
    syncFolder(folderOf(target_));
    return true;
}

void FileReplacement::discard() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!temp_.empty()) ::unlink(temp_.c_str());
    temp_.clear();
}

namespace {

bool writeWhole(const std::string& path, std::string_view bytes, std::string* error, bool keep, bool* exists) {
    FileReplacement f;
    if (!f.open(path, error)) return false;
    f.write(bytes);
    return f.commit(error, keep, exists);
}

}  // namespace

bool replaceFile(const std::string& path, std::string_view bytes, std::string* error) {
    return writeWhole(path, bytes, error, false, nullptr);
}

bool createFileWhole(const std::string& path, std::string_view bytes, std::string* error, bool* exists) {
    return writeWhole(path, bytes, error, true, exists);
}

class WholeFileStream::Buffer : public std::streambuf {
public:
    FileReplacement file;

protected:
    int_type overflow(int_type ch) override {
        if (traits_type::eq_int_type(ch, traits_type::eof())) return sync() == 0 ? 0 : traits_type::eof();
        pending_.push_back(traits_type::to_char_type(ch));
        return ch;
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        pending_.append(s, size_t(n));
        if (pending_.size() >= kBlock && sync() != 0) return 0;
        return n;
    }
    int sync() override {
        const bool ok = file.write(pending_);
        pending_.clear();
        return ok ? 0 : -1;
    }

private:
    static constexpr size_t kBlock = 1 << 16;
    std::string pending_;
};

WholeFileStream::WholeFileStream() : std::ostream(nullptr), buffer_(std::make_unique<Buffer>()) {
    rdbuf(buffer_.get());
}

WholeFileStream::~WholeFileStream() = default;

bool WholeFileStream::open(const std::string& path, std::string* error) {
    if (!buffer_->file.open(path, error)) {
        setstate(std::ios::badbit);
        return false;
    }
    clear();
    return true;
}

void WholeFileStream::discard() {
    buffer_->file.discard();
    setstate(std::ios::badbit);
}

bool WholeFileStream::commit(std::string* error) {
    flush();
    return buffer_->file.commit(error);
}

std::string WholeFileStream::failure() const { return buffer_->file.failure(); }

}  // namespace ts
