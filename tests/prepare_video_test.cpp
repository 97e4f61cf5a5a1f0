// "trainsim prepare-video" as a program: the copy lands in the user's cache
// folder under a name that follows the original's state, and a full disk or
// bad usage leaves nothing behind and says so.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "test_support.h"
#include "video/ffmpeg_frame_source.h"
#include "video/video_writer.h"

namespace fs = std::filesystem;

namespace {

struct Output {
    int status = -1;
    std::string text;
};

struct VideoDataSet {
    ts::test::TempDir dir;
    fs::path data = dir.path() / "data", cache = dir.path() / "cache";
    VideoDataSet() {
        fs::copy(TRAINSIM_FIXTURES "/basic", data, fs::copy_options::recursive);
        // The route names video.avi: a camera's long keyframe interval at 25 pictures a second.
        ts::VideoSettings s;
        s.codec = ts::VideoCodec::MPEG4;
        s.width = 640;
        s.height = 360;
        s.fps = 25;
        s.gop = 100;
        s.quality = 4;
        ts::VideoWriter w((data / "video.avi").string(), s);
        std::vector<uint32_t> px(size_t(s.width) * s.height);
        for (int i = 0; i < 100; ++i) {
            for (size_t p = 0; p < px.size(); ++p) px[p] = 0xFF000000u | uint32_t((p / 97 + size_t(i) * 9) & 0xFF) << 8;
            w.add(px.data());
        }
        EXPECT_TRUE(w.finish());
    }
    Output run(const std::string& args, const std::string& prefix = {}) const {
        const std::string cmd = "env XDG_CACHE_HOME='" + cache.string() + "' XDG_CONFIG_HOME='" +
                                (dir.path() / "config").string() + "' " + prefix + "'" TRAINSIM_BIN "' " + args +
                                " 2>&1";
        FILE* p = popen(cmd.c_str(), "r");
        Output o;
        char buf[4096];
        size_t n;
        while ((n = fread(buf, 1, sizeof buf, p)) > 0) o.text.append(buf, n);
        const int raw = pclose(p);
        o.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        return o;
    }
    std::vector<std::string> cached() const {
        std::vector<std::string> names;
        std::error_code ec;
        for (const auto& e : fs::directory_iterator(cache / "trainsim" / "videos", ec))
            names.push_back(e.path().filename().string());
        return names;
    }
};

}  // namespace

TEST(PrepareVideo, MakesAWorkingCopyInTheCacheKeyedByTheOriginalsState) {
    VideoDataSet s;
    const Output o = s.run("prepare-video --data '" + s.data.string() + "' 789");
    ASSERT_EQ(o.status, 0) << o.text;
    // A picture for each of the 120 view frames of 4 s.
    EXPECT_NE(o.text.find("120 of 120 pictures"), std::string::npos) << o.text;
    const auto first = s.cached();
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(first[0].rfind("video-", 0), 0u) << first[0];
    ts::FfmpegFrameSource original, copy;
    ASSERT_TRUE(original.open((s.data / "video.avi").string()));
    ASSERT_TRUE(copy.open((s.cache / "trainsim" / "videos" / first[0]).string()));
    EXPECT_EQ(copy.length(), original.length());
    EXPECT_EQ(copy.length(), 120);  // 4 s of recording
    EXPECT_LT(copy.keyframeSeconds(), 1.3);

    // The original changes: the copy of its new state replaces the old one.
    fs::last_write_time(s.data / "video.avi", fs::last_write_time(s.data / "video.avi") + std::chrono::seconds(5));
    ASSERT_EQ(s.run("prepare-video --data '" + s.data.string() + "' 789").status, 0);
    const auto second = s.cached();
    ASSERT_EQ(second.size(), 1u);
    EXPECT_NE(second[0], first[0]);
}

TEST(PrepareVideo, AFullDiskIsSaidAndLeavesNothing) {
    VideoDataSet s;
    const Output o = s.run("prepare-video --data '" + s.data.string() + "' 789", ts::test::fileSizeLimitPrefix(20000));
    EXPECT_EQ(o.status, 1) << o.text;
    EXPECT_NE(o.text.find("The disk is full"), std::string::npos) << o.text;
    EXPECT_TRUE(s.cached().empty()) << s.cached().front();
}

TEST(PrepareVideo, BadUsageAndARouteWithoutVideoEndWithAReason) {
    VideoDataSet s;
    Output o = s.run("prepare-video --data '" + s.data.string() + "'");
    EXPECT_EQ(o.status, 2);
    EXPECT_NE(o.text.find("usage: trainsim prepare-video"), std::string::npos) << o.text;
    o = s.run("prepare-video --data '" + s.data.string() + "' 789 40");
    EXPECT_EQ(o.status, 2);
    o = s.run("prepare-video --data '" + s.data.string() + "' 123");
    EXPECT_EQ(o.status, 1) << o.text;
    fs::remove(s.data / "video.avi");
    o = s.run("prepare-video --data '" + s.data.string() + "' 789");
    EXPECT_EQ(o.status, 1) << o.text;
    EXPECT_NE(o.text.find("cannot be read"), std::string::npos) << o.text;
    EXPECT_TRUE(s.cached().empty());
}

// The checker warns about a video that opens but gives no picture, and not
// about one whose header only lies about its length.
TEST(CheckCommand, AVideoThatYieldsNoPictureIsWarnedAbout) {
    VideoDataSet s;
    const std::string check = "check --data '" + s.data.string() + "' 789";
    Output o = s.run(check);
    EXPECT_EQ(o.text.find("no usable frame"), std::string::npos) << o.text;
    // Every picture's bytes overwritten: the file still opens.
    std::string bytes = ts::test::slurpFile(s.data / "video.avi");
    int chunks = 0;
    const size_t index = bytes.rfind("idx1");
    for (size_t p = bytes.find("00dc"); p < index; p = bytes.find("00dc", p + 8)) {
        const uint32_t size = uint8_t(bytes[p + 4]) | uint8_t(bytes[p + 5]) << 8 | uint8_t(bytes[p + 6]) << 16 |
                              uint32_t(uint8_t(bytes[p + 7])) << 24;
        if (p + 8 + size > bytes.size()) continue;
        std::fill(bytes.begin() + ptrdiff_t(p + 8), bytes.begin() + ptrdiff_t(p + 8 + size), '\0');
        ++chunks;
    }
    ASSERT_GT(chunks, 90);
    std::ofstream(s.data / "video.avi", std::ios::binary | std::ios::trunc) << bytes;
    o = s.run(check);
    EXPECT_NE(o.text.find("opens but yields no usable frame"), std::string::npos) << o.text;
}
