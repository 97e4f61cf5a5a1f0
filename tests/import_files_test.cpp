// "trainsim import-gps" and the files it touches: no temporary file outside
// the data folder, a linked route file kept as a link, backups never
// overwritten, and nothing left behind when the route cannot be replaced.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "data/text_file.h"
#include "gps_rides.h"
#include "gpx_file.h"
#include "program_runs.h"
#include "test_support.h"

using namespace ts;
namespace fs = std::filesystem;

namespace {

using Output = test::ProgramStreams;

// `prefix` goes before the program: environment settings, a limit, a mount.
Output importGps(const std::string& prefix, const fs::path& data, const fs::path& track,
                 const std::string& extra = {}) {
    return test::runCommandApart(prefix + "'" TRAINSIM_BIN "' import-gps --data '" + data.string() + "' 789 '" +
                                 track.string() + "' --offset 0 --frames 3000 " + extra);
}

// A short ride: stands 10 s, runs off and on at 20 m/s.
std::string ride() {
    test::RidePlan s;
    s.distance = [](double t) { return t < 10 ? 0.0 : t < 30 ? 0.5 * (t - 10) * (t - 10) : 200 + 20 * (t - 30); };
    s.height = [](double d) { return 50 + d / 200; };
    s.seconds = 120;
    s.jitterMetres = 1;
    return test::rideGpx(s);
}

struct Data {
    test::TempDir dir;
    fs::path data, track, route;
    std::string before;
    Data() {
        data = dir.path() / "data";
        fs::create_directories(data);
        for (const auto& e : fs::directory_iterator(TRAINSIM_FIXTURES "/basic"))
            fs::copy(e.path(), data / e.path().filename());
        track = dir.write("ride.gpx", ride());
        route = data / "789_line.txt";
        before = test::slurpFile(route);
    }
    std::vector<std::string> files() const {
        std::vector<std::string> out;
        for (const auto& e : fs::directory_iterator(data)) out.push_back(e.path().filename().string());
        std::sort(out.begin(), out.end());
        return out;
    }
};

const std::vector<std::string> kFixtureFiles = {"40_line.txt", "40_train.txt",  "789_line.txt", "789_train.txt",
                                                "mascon.txt",  "operation.txt", "string.txt"};

}  // namespace

// The read-back check once wrote a fixed name in $TMPDIR, following a link planted there.
TEST(ImportFiles, NothingIsWrittenToTheTemporaryFolderWhateverItIs) {
    Data d;
    const fs::path tmp = d.dir.path() / "tmp";
    fs::create_directories(tmp);
    const std::string victim = d.dir.write("victim.txt", "not to be touched");
    for (int pid = 0; pid < 64; ++pid)
        fs::create_symlink(victim, tmp / ("trainsim-import-" + std::to_string(::getpid() + pid) + ".txt"));
    const size_t planted = size_t(std::distance(fs::directory_iterator(tmp), fs::directory_iterator()));
    for (const std::string& dir : {tmp.string(), (d.dir.path() / "missing").string(), victim}) {
        const Output o = importGps("env TMPDIR='" + dir + "' ", d.data, d.track, "--dry-run");
        EXPECT_EQ(o.status, 0) << "TMPDIR=" << dir << "\n" << o.err;
        EXPECT_NE(o.out.find("dry run: nothing was written"), std::string::npos) << o.out;
    }
    EXPECT_EQ(test::slurpFile(victim), "not to be touched");
    EXPECT_EQ(size_t(std::distance(fs::directory_iterator(tmp), fs::directory_iterator())), planted);
    EXPECT_EQ(test::slurpFile(d.route), d.before);
    EXPECT_EQ(d.files(), kFixtureFiles);
}

TEST(ImportFiles, ALinkedRouteFileStaysALinkAndItsTargetTakesTheImport) {
    Data d;
    const fs::path kept = d.dir.path() / "kept" / "789_line.txt";
    fs::create_directories(kept.parent_path());
    fs::rename(d.route, kept);
    fs::create_symlink("../kept/789_line.txt", d.route);
    const Output o = importGps("", d.data, d.track);
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_TRUE(fs::is_symlink(d.route));
    const std::string now = test::slurpFile(kept);
    EXPECT_NE(now, d.before);
    EXPECT_NE(now.find("[SpeedUnit]"), std::string::npos);
    // The backup holds the old bytes, beside the name the import was given.
    EXPECT_EQ(test::slurpFile(d.route.string() + ".bak"), d.before);
    EXPECT_FALSE(fs::is_symlink(d.route.string() + ".bak"));
    EXPECT_EQ(std::distance(fs::directory_iterator(kept.parent_path()), fs::directory_iterator()), 1);
}

TEST(ImportFiles, ASecondImportKeepsTheFirstBackup) {
    Data d;
    ASSERT_EQ(importGps("", d.data, d.track).status, 0);
    const std::string first = test::slurpFile(d.route);
    const Output o = importGps("", d.data, d.track, "--what speed --tolerance-kmh 3");
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(test::slurpFile(d.route.string() + ".bak"), d.before) << "the original route is never lost";
    EXPECT_EQ(test::slurpFile(d.route.string() + ".bak.2"), first);
    EXPECT_NE(o.out.find("the old file is 789_line.txt.bak.2"), std::string::npos) << o.out;
}

TEST(ImportFiles, AFullDiskLeavesTheRouteAndNoDebris) {
    Data d;
    // No room for the backup; then room for it (the old file's size) but not
    // for the new route, longer by the [SpeedUnit] rows the old one lacks.
    const std::string lean = d.before.substr(0, d.before.find("[SpeedUnit]\r\n") + 13) + "#\r\n";
    for (const bool backupFits : {false, true}) {
        if (backupFits) std::ofstream(d.route, std::ios::binary | std::ios::trunc) << lean;
        const std::string old = test::slurpFile(d.route);
        const long limit = long(old.size()) + (backupFits ? 8 : -1);
        const Output o = importGps(test::fileSizeLimitPrefix(limit), d.data, d.track);
        EXPECT_EQ(o.status, 1) << o.err;
        EXPECT_NE(o.err.find("nothing was written"), std::string::npos) << o.err;
        EXPECT_NE(o.err.find(backupFits ? "cannot write \"" : "cannot write the backup"), std::string::npos) << o.err;
        EXPECT_EQ(test::slurpFile(d.route), old);
        EXPECT_EQ(d.files(), kFixtureFiles) << "no .bak, no .new, no temporary file";
    }
}

TEST(ImportFiles, AReadOnlyFolderLeavesTheRouteByteForByte) {
    Data d;
    std::string prefix = test::readOnlyFolderPrefix(d.data.string());
    if (prefix.empty()) {
        if (::geteuid() == 0) GTEST_SKIP() << "root, and no mount namespace for a read-only folder";
        fs::permissions(d.data, fs::perms::owner_read | fs::perms::owner_exec);
    }
    const Output o = importGps(prefix, d.data, d.track);
    fs::permissions(d.data, fs::perms::owner_all);
    EXPECT_EQ(o.status, 1) << o.err;
    EXPECT_NE(o.err.find("nothing was written"), std::string::npos) << o.err;
    EXPECT_NE(o.err.find("789_line.txt"), std::string::npos) << o.err;
    EXPECT_EQ(test::slurpFile(d.route), d.before);
    EXPECT_EQ(d.files(), kFixtureFiles);
}

// A sparse file: the size is what counts, not the bytes.
TEST(ImportFiles, ATrackOverTheSizeLimitIsRefusedBeforeItIsRead) {
    Data d;
    const fs::path huge = d.dir.path() / "huge.gpx";
    { std::ofstream(huge) << "<?xml version=\"1.0\"?>"; }
    fs::resize_file(huge, uint64_t(kMaxTrackBytes) + 1);
    const Output o = importGps("", d.data, huge);
    EXPECT_EQ(o.status, 1) << o.err;
    EXPECT_NE(o.err.find("at most 256 MB"), std::string::npos) << o.err;
    EXPECT_EQ(d.files(), kFixtureFiles);
}
