// The demo route sent through a package to an empty folder and driven there
// with copies of its video as other people have them: re-encoded at another
// size and bit rate, cut at the start, at 25 and at 60 frames a second with
// seconds added. Each copy is found and aligned within a frame, and the
// driver's view at five positions shows what the original shows there.
#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <regex>

#include "drive_runner.h"
#include "pack/package_archive.h"
#include "test_support.h"
#include "video/ffmpeg_frame_source.h"
#include "video/video_writer.h"

using namespace ts;
using namespace ts::test;
namespace fs = std::filesystem;

namespace {

const std::string kDemo = TRAINSIM_DEMO;
const std::string kBin = TRAINSIM_BIN;

struct Output {
    int status = -1;
    std::string text;
};

Output run(const std::string& command) {
    Output o;
    std::unique_ptr<FILE, int (*)(FILE*)> p(popen((command + " 2>&1").c_str(), "r"), pclose);
    if (!p) return o;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p.get())) > 0) o.text.append(buf, n);
    const int status = pclose(p.release());
    o.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return o;
}

std::string shellWord(const fs::path& p) { return "'" + p.string() + "'"; }

// A copy of the demo video: `lead` frames of another picture first, then the
// original from its frame `skip`, at `fps` pictures a second and the given size.
struct CopyRecipe {
    const char* name;
    int fps = 30, width = 480, height = 240, bitRateKbps = 0;
    int skip = 0;            // original frames (1/30 s) left out at the start
    int lead = 0;            // copy pictures put before it
    int expectedOffset = 0;  // the copy's frame at the route's frame 0, in frames of 1/30 s
};

void makeCopy(const std::string& original, const fs::path& out, const CopyRecipe& r) {
    FfmpegFrameSource source;
    ASSERT_TRUE(source.open(original));
    VideoSettings s;
    s.width = r.width;
    s.height = r.height;
    s.fps = r.fps;
    s.gop = r.fps;
    s.bitRateKbps = r.bitRateKbps;
    VideoWriter w(out.string(), s);
    ASSERT_TRUE(w.ok());
    ViewFrame frame;
    frame.resize(r.width, r.height);
    // Something else before the route's video: a slowly darkening grey.
    for (int i = 0; i < r.lead; ++i) {
        std::fill(frame.pixels.begin(), frame.pixels.end(), 0xFF000000u | (0x010101u * uint32_t(200 - i % 150)));
        w.add(frame.pixels.data());
    }
    const int total = source.length() - r.skip;
    for (int k = 0;; ++k) {
        const int f = r.skip + int(std::lround(double(k) * 30.0 / r.fps));
        if (f >= r.skip + total) break;
        ASSERT_TRUE(source.getFrame(f, frame));
        w.add(frame.pixels.data());
    }
    ASSERT_TRUE(w.finish());
}

// The route's [VideoAlignment], or (0, 1000000) without one.
std::pair<int, int> alignmentOf(const fs::path& routeFile) {
    const std::string text = slurpFile(routeFile);
    std::smatch m;
    if (!std::regex_search(text, m, std::regex("\\[VideoAlignment\\]\\r?\\n(-?\\d+)\\r?\\n(\\d+)")))
        return {0, 1000000};
    return {std::stoi(m[1]), std::stoi(m[2])};
}

// The driver's view (480 x 240 below the menu bar) at each frame, from the drive mode's snapshots.
std::vector<QImage> viewsAt(const std::string& data, const std::vector<int>& frames, const fs::path& shots) {
    // The view is drawn once the run has started.
    std::string script = "@20 jump 0\n@100 start\n";
    int at = 200;
    for (size_t i = 0; i < frames.size(); ++i, at += 200)
        script += "@" + std::to_string(at) + " goto " + std::to_string(frames[i]) + "\n@" + std::to_string(at + 100) +
                  " snapshot " + (shots / ("view" + std::to_string(i) + ".png")).string() + "\n";
    script += "@" + std::to_string(at) + " close\n";
    const auto r = drive(data, "789", script);
    EXPECT_EQ(r.status, 0) << r.err;
    std::vector<QImage> views;
    for (size_t i = 0; i < frames.size(); ++i) {
        const QImage shot(QString::fromStdString((shots / ("view" + std::to_string(i) + ".png")).string()));
        views.push_back(shot.isNull() ? QImage() : shot.copy(0, shot.height() - 440, 480, 240));
    }
    return views;
}

// Mean difference of the grey levels, 0 to 255, of two pictures scaled to 120 x 60.
double difference(const QImage& a, const QImage& b) {
    if (a.isNull() || b.isNull()) return 255;
    const QImage x =
        a.scaled(120, 60, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).convertToFormat(QImage::Format_Grayscale8);
    const QImage y =
        b.scaled(120, 60, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).convertToFormat(QImage::Format_Grayscale8);
    double sum = 0;
    for (int r = 0; r < 60; ++r)
        for (int c = 0; c < 120; ++c) sum += std::abs(int(x.constScanLine(r)[c]) - int(y.constScanLine(r)[c]));
    return sum / (120 * 60);
}

class RoutePackageDemo : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new TempDir;
        package_ = (dir_->path() / "789.trainsim-route").string();
        const Output o = run(kBin + " pack --data " + shellWord(kDemo) + " 789 -o " + shellWord(package_) +
                             " --author 'Test author' --licence 'CC BY 4.0'");
        packOutput_ = o.text;
        packStatus_ = o.status;
    }
    static void TearDownTestSuite() {
        delete dir_;
        dir_ = nullptr;
    }
    static TempDir* dir_;
    static std::string package_, packOutput_;
    static int packStatus_;
};
TempDir* RoutePackageDemo::dir_ = nullptr;
std::string RoutePackageDemo::package_, RoutePackageDemo::packOutput_;
int RoutePackageDemo::packStatus_ = -1;

TEST_F(RoutePackageDemo, PackHoldsTheRouteWithoutItsVideo) {
    ASSERT_EQ(packStatus_, 0) << packOutput_;
    EXPECT_NE(packOutput_.find("Packed"), std::string::npos) << packOutput_;
    // The package's entries: the route's files and no video.
    struct Names final : pack::ArchiveSink {
        std::vector<std::string> names;
        bool begin(const std::string& name, uint64_t, std::string*) override {
            names.push_back(name);
            return true;
        }
        bool data(std::string_view, std::string*) override { return true; }
        bool end(std::string*) override { return true; }
    } entries;
    std::string error;
    ASSERT_TRUE(pack::readArchive(package_, {}, pack::ArchiveLimits{}, entries, &error)) << error;
    for (const char* expected : {"trainsim-route.json", "video-fingerprint.txt", "789_line.txt", "789_train.txt"})
        EXPECT_NE(std::find(entries.names.begin(), entries.names.end(), expected), entries.names.end()) << expected;
    for (const std::string& n : entries.names) EXPECT_EQ(n.find(".mp4"), std::string::npos) << n;
    EXPECT_GT(entries.names.size(), 20u) << "the pictures and waves the route and train name";
    // Installed with no copy of the video: the route as packed, [Path] unchanged, no alignment.
    TempDir target;
    const Output o = run(kBin + " install " + shellWord(package_) + " --data " + shellWord(target.path()));
    ASSERT_EQ(o.status, 0) << o.text;
    EXPECT_TRUE(fs::exists(target.path() / "789_line.txt"));
    EXPECT_TRUE(fs::exists(target.path() / "789_train.txt"));
    EXPECT_EQ(slurpFile(target.path() / "789_train.txt"), slurpFile(fs::path(kDemo) / "789_train.txt"));
    EXPECT_EQ(slurpFile(target.path() / "789_line.txt"), slurpFile(fs::path(kDemo) / "789_line.txt"));
    EXPECT_FALSE(fs::exists(target.path() / "video"));
    // Installing again: the code is taken, nothing is overwritten, another code is offered.
    const std::string before = slurpFile(target.path() / "789_line.txt");
    const Output again = run(kBin + " install " + shellWord(package_) + " --data " + shellWord(target.path()));
    EXPECT_EQ(again.status, 1);
    EXPECT_NE(again.text.find("already"), std::string::npos) << again.text;
    EXPECT_NE(again.text.find("7892"), std::string::npos) << again.text;
    EXPECT_EQ(slurpFile(target.path() / "789_line.txt"), before);
    // Under that code it installs beside the first.
    const Output renamed =
        run(kBin + " install " + shellWord(package_) + " --data " + shellWord(target.path()) + " --code 7892");
    ASSERT_EQ(renamed.status, 0) << renamed.text;
    EXPECT_TRUE(fs::exists(target.path() / "7892_line.txt"));
    EXPECT_TRUE(fs::exists(target.path() / "7892_train.txt"));
    for (const auto& e : fs::directory_iterator(target.path()))
        EXPECT_EQ(e.path().filename().string().rfind(".trainsim-install", 0), std::string::npos)
            << "a temporary folder stayed";
}

TEST_F(RoutePackageDemo, CopiesCutAndEncodedOtherwiseAreAlignedAndShowTheSamePictures) {
    ASSERT_EQ(packStatus_, 0) << packOutput_;
    const std::string original = (fs::path(kDemo) / "video" / "789.mp4").string();
    const std::vector<CopyRecipe> copies = {
        {"resized", 30, 640, 320, 400, 0, 0, 0},
        {"cut", 30, 480, 240, 0, 105, 0, -105},
        {"pal", 25, 480, 240, 0, 0, 0, 0},
        {"sixty", 60, 480, 240, 0, 0, 120, 60},
    };
    // Positions along the line, past the cut and the added lead.
    const std::vector<int> positions = {200, 900, 1800, 2900, 4000};
    TempDir shots;
    fs::create_directories(shots.path() / "original");
    const auto originals = viewsAt(kDemo, positions, shots.path() / "original");
    // The comparison can tell places apart: the five views differ from each other.
    for (size_t i = 0; i + 1 < originals.size(); ++i) EXPECT_GT(difference(originals[i], originals[i + 1]), 6.0);
    for (const CopyRecipe& r : copies) {
        SCOPED_TRACE(r.name);
        TempDir target;
        const fs::path copy = target.path() / (std::string("my-") + r.name + ".mp4");
        makeCopy(original, copy, r);
        fs::create_directories(target.path() / "data");  // empty
        const Output o = run(kBin + " install " + shellWord(package_) + " --data " + shellWord(target.path() / "data") +
                             " --video " + shellWord(copy));
        ASSERT_EQ(o.status, 0) << o.text;
        const auto [offset, rate] = alignmentOf(target.path() / "data" / "789_line.txt");
        EXPECT_NEAR(offset, r.expectedOffset, 1) << "rate " << rate;
        EXPECT_NEAR(rate, 1000000, 1000) << "a copy at another frame rate runs at the same speed";
        fs::create_directories(target.path() / "shots");
        const auto views = viewsAt((target.path() / "data").string(), positions, target.path() / "shots");
        for (size_t i = 0; i < positions.size(); ++i) {
            const double d = difference(originals[i], views[i]);
            EXPECT_LT(d, 6.0) << "at frame " << positions[i];
        }
    }
}

TEST_F(RoutePackageDemo, TheOtherLinesVideoIsRefused) {
    ASSERT_EQ(packStatus_, 0) << packOutput_;
    TempDir target;
    const Output o = run(kBin + " install " + shellWord(package_) + " --data " + shellWord(target.path()) +
                         " --video " + shellWord(fs::path(kDemo) / "video" / "40.mp4"));
    EXPECT_EQ(o.status, 1) << o.text;
    EXPECT_TRUE(o.text.find("match the package's video nowhere") != std::string::npos ||
                o.text.find("is this a shorter cut?") != std::string::npos)
        << o.text;
    EXPECT_FALSE(fs::exists(target.path() / "789_line.txt")) << "a refused copy installed the route";
    // With the offset set by hand it installs anyway.
    const Output anyway = run(kBin + " install " + shellWord(package_) + " --data " + shellWord(target.path()) +
                              " --video " + shellWord(fs::path(kDemo) / "video" / "40.mp4") + " --offset 12");
    ASSERT_EQ(anyway.status, 0) << anyway.text;
    EXPECT_EQ(alignmentOf(target.path() / "789_line.txt"), std::make_pair(12, 1000000));
}

}  // namespace
