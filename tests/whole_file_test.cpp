// The shared writer: a file is replaced whole or left as it was, links are
// kept, and failures (a full disk, a read-only folder) are reported.
#include <gtest/gtest.h>

#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "data/whole_file.h"
#include "run_recorder.h"
#include "test_support.h"

namespace fs = std::filesystem;
using ts::test::slurpFile;
using ts::test::TempDir;

namespace {

size_t entries(const fs::path& dir) {
    size_t n = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir)) ++n;
    return n;
}

}  // namespace

TEST(WholeFile, ReplacesKeepingPermissionsAndLeavesNothingBeside) {
    TempDir dir;
    const std::string path = dir.write("route.txt", "old");
    ::chmod(path.c_str(), 0640);
    std::string error;
    ASSERT_TRUE(ts::replaceFile(path, "new bytes", &error)) << error;
    EXPECT_EQ(slurpFile(path), "new bytes");
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(entries(dir.path()), 1u);
}

TEST(WholeFile, ASymbolicLinkStaysAndItsTargetTakesTheBytes) {
    TempDir dir;
    const std::string target = dir.write("kept/elsewhere/route.txt", "old");
    fs::create_directories(dir.path() / "data");
    const fs::path link = dir.path() / "data" / "route.txt";
    fs::create_symlink("../kept/elsewhere/route.txt", link);
    // A chain of links ends at the same file.
    const fs::path second = dir.path() / "data" / "again.txt";
    fs::create_symlink("route.txt", second);
    std::string error;
    ASSERT_TRUE(ts::replaceFile(second.string(), "edited", &error)) << error;
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_TRUE(fs::is_symlink(second));
    EXPECT_EQ(slurpFile(target), "edited");
    EXPECT_EQ(entries(dir.path() / "data"), 2u) << "nothing written beside the links";
    EXPECT_EQ(entries(dir.path() / "kept/elsewhere"), 1u);
}

TEST(WholeFile, AReadOnlyFolderLeavesTheOldFileAndSaysWhy) {
    TempDir dir;
    const std::string path = dir.write("ro/route.txt", "old bytes\r\n");
    const std::string folder = (dir.path() / "ro").string();
    // Root writes into any folder of its permissions: a read-only mount, in a namespace of the child's own.
    const int status = ts::test::withFileSizeLimit(1 << 30, [&] {
        if (::geteuid() == 0) {
            if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
                ::mount(folder.c_str(), folder.c_str(), nullptr, MS_BIND, nullptr) != 0 ||
                ::mount(nullptr, folder.c_str(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) != 0)
                return 9;
        } else {
            fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
        }
        std::string error;
        const bool ok = ts::replaceFile(path, "new", &error);
        return ok ? 0 : (error.find("route.txt") != std::string::npos ? 3 : 4);
    });
    fs::permissions(folder, fs::perms::owner_all);
    if (status == 9) GTEST_SKIP() << "root, and no mount namespace for a read-only folder";
    EXPECT_EQ(status, 3) << "refused, naming the file";
    EXPECT_EQ(slurpFile(path), "old bytes\r\n");
    EXPECT_EQ(entries(dir.path() / "ro"), 1u);
}

TEST(WholeFile, AFullDiskLeavesTheOldFileByteForByte) {
    TempDir dir;
    const std::string old(30000, 'o');
    const std::string path = dir.write("report.html", old);
    const int status = ts::test::withFileSizeLimit(24576, [&] {
        std::string error;
        const bool ok = ts::replaceFile(path, std::string(100000, 'n'), &error);
        return ok ? 0 : (error.find("report.html") != std::string::npos ? 3 : 4);
    });
    EXPECT_EQ(status, 3) << "the failure is reported, naming the file";
    EXPECT_EQ(slurpFile(path), old);
    EXPECT_EQ(entries(dir.path()), 1u) << "the partial new file is removed";
}

TEST(WholeFile, AStreamFailsAtTheFirstWriteThatDoesNotReachTheDisk) {
    TempDir dir;
    const std::string path = (dir.path() / "run.txt").string();
    const int status = ts::test::withFileSizeLimit(24576, [&] {
        ts::WholeFileStream out;
        if (!out.open(path, nullptr)) return 5;
        for (int i = 0; i < 2000 && out; ++i) {
            out << std::string(99, 'x') << '\n';
            out.flush();
        }
        if (out) return 6;
        std::string error;
        return !out.commit(&error) && !out.failure().empty() ? 3 : 4;
    });
    EXPECT_EQ(status, 3);
    EXPECT_FALSE(fs::exists(path)) << "a failed recording is not put in place";
    EXPECT_EQ(entries(dir.path()), 0u);
}

TEST(WholeFile, CreatingNeverReplaces) {
    TempDir dir;
    const std::string path = dir.write("route.txt.bak", "first");
    bool exists = false;
    std::string error;
    EXPECT_FALSE(ts::createFileWhole(path, "second", &error, &exists));
    EXPECT_TRUE(exists);
    EXPECT_EQ(slurpFile(path), "first");
    const std::string fresh = (dir.path() / "route.txt.bak.2").string();
    EXPECT_TRUE(ts::createFileWhole(fresh, "second", &error, &exists)) << error;
    EXPECT_FALSE(exists);
    EXPECT_EQ(slurpFile(fresh), "second");
    EXPECT_EQ(entries(dir.path()), 2u);
}

namespace {
// A stream that takes `room` bytes and then fails, as a full disk does.
class FullDisk : public std::streambuf {
public:
    explicit FullDisk(size_t room) : room_(room) {}
    std::string taken;

protected:
    int_type overflow(int_type ch) override {
        if (taken.size() >= room_) return traits_type::eof();
        taken.push_back(char(ch));
        return ch;
    }

private:
    size_t room_;
};
}  // namespace

TEST(WholeFile, TheRecorderHearsOnceThatItsFileFailedAndStopsWriting) {
    ts::RunRecorder recorder("789");
    auto disk = std::make_shared<FullDisk>(300);
    ts::RunRecorder::Target target;
    target.out = std::make_unique<std::ostream>(disk.get());
    int failures = 0;
    target.failed = [&] { ++failures; };
    target.finish = [] { return std::string(); };
    recorder.attach(std::move(target), "sha256:00");
    EXPECT_EQ(failures, 0);
    for (int i = 0; i < 500; ++i) {
        recorder.simulationStep();
        recorder.presentationStep();
        if (i % 50 == 0) recorder.input("char z");
    }
    EXPECT_EQ(failures, 1) << "reported the moment it failed, once";
    EXPECT_TRUE(recorder.failed());
    EXPECT_LE(disk->taken.size(), 300u);
    EXPECT_FALSE(recorder.finish().empty()) << "finishing a failed recording is no success";
}
