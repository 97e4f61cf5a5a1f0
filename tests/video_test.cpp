// The driver's-view video on FFmpeg: videos made by the test, each frame
// carrying its index as a row of black and white blocks that the test reads back.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>

#include "test_support.h"
#include "video/ffmpeg_frame_source.h"
#include "video/frame_cache.h"
#include "video/frame_checks.h"
#include "video/recording_frame_source.h"
#include "video/video_writer.h"

using namespace ts;

namespace {

constexpr int kFrames = 150;
constexpr int kBits = 12;
constexpr int kBlock = 40;

void markedFrame(int index, std::vector<uint32_t>& px) {
    for (int y = 0; y < kViewHeight; ++y)
        for (int x = 0; x < kViewWidth; ++x) {
            uint32_t c;
            if (y < kBlock)
                c = (index >> (x / kBlock)) & 1 ? 0xFFFFFFFF : 0xFF000000;
            else
                c = 0xFF000000 | uint32_t(((x + index * 3) & 0xFF) << 16) | uint32_t(((y * 2 + index) & 0xFF) << 8) |
                    0x40;
            px[size_t(y) * kViewWidth + size_t(x)] = c;
        }
}

int readIndex(const ViewFrame& f) {
    int v = 0;
    for (int b = 0; b < kBits; ++b) {
        const uint32_t c = f.pixels[size_t(kBlock / 2) * kViewWidth + size_t(b * kBlock + kBlock / 2)];
        const int g = int((c >> 8) & 0xFF);
        if (g > 128) v |= 1 << b;
    }
    return v;
}

class Videos : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new test::TempDir;
        std::vector<uint32_t> px(size_t(kViewWidth) * kViewHeight);
        auto make = [&](const char* name, VideoSettings s, int w, int h) {
            s.width = w;
            s.height = h;
            VideoWriter writer((dir_->path() / name).string(), s);
            ASSERT_TRUE(writer.ok()) << name;
            std::vector<uint32_t> big(size_t(w) * h);
            for (int i = 0; i < kFrames; ++i) {
                markedFrame(i, px);
                // Another size than the view: nearest-neighbour scale of the marked frame.
                for (int y = 0; y < h; ++y)
                    for (int x = 0; x < w; ++x)
                        big[size_t(y) * w + size_t(x)] =
                            px[size_t(y * kViewHeight / h) * kViewWidth + size_t(x * kViewWidth / w)];
                writer.add(big.data());
            }
            ASSERT_TRUE(writer.finish());
        };
        VideoSettings h264;
        make("h264.mp4", h264, 480, 240);
        VideoSettings mjpeg;
        mjpeg.codec = VideoCodec::MJPEG;
        mjpeg.quality = 3;
        make("mjpeg.avi", mjpeg, 480, 240);
        VideoSettings mkv;
        mkv.codec = VideoCodec::MPEG4;
        mkv.quality = 3;
        mkv.gop = 25;
        make("mpeg4.mkv", mkv, 640, 320);
    }
    static void TearDownTestSuite() {
        delete dir_;
        dir_ = nullptr;
    }
    static std::string path(const char* name) { return (dir_->path() / name).string(); }
    static test::TempDir* dir_;

    // Reads frames in this order and checks each one.
    static void check(const char* file, const std::vector<int>& order) {
        FfmpegFrameSource src;
        ASSERT_TRUE(src.open(path(file))) << file;
        EXPECT_EQ(src.length(), kFrames) << file;
        ViewFrame f;
        for (int i : order) {
            ASSERT_TRUE(src.getFrame(i, f)) << file << " frame " << i;
            ASSERT_EQ(readIndex(f), i) << file;
        }
    }
};

test::TempDir* Videos::dir_ = nullptr;

std::vector<int> sequential() {
    std::vector<int> v(kFrames);
    for (int i = 0; i < kFrames; ++i) v[size_t(i)] = i;
    return v;
}

std::vector<int> backwards() {
    std::vector<int> v;
    for (int i = kFrames - 1; i >= 0; i -= 7) v.push_back(i);
    return v;
}

std::vector<int> randomOrder() {
    std::mt19937 rng(7);
    std::vector<int> v;
    for (int i = 0; i < 60; ++i) v.push_back(int(rng() % kFrames));
    return v;
}

}  // namespace

TEST_F(Videos, H264WithBFramesInMp4) {
    check("h264.mp4", sequential());
    check("h264.mp4", backwards());
    check("h264.mp4", randomOrder());
    check("h264.mp4", {28, 29, 30, 31, 59, 60, 61, 149, 0, 149});
}

TEST_F(Videos, MjpegInAvi) {
    check("mjpeg.avi", sequential());
    check("mjpeg.avi", backwards());
    check("mjpeg.avi", randomOrder());
}

TEST_F(Videos, Mpeg4InMkvScaledToTheView) {
    check("mpeg4.mkv", sequential());
    check("mpeg4.mkv", randomOrder());
    check("mpeg4.mkv", {149, 24, 25, 26, 0});
}

TEST_F(Videos, ForwardAccessDecodesWithoutSeeking) {
    FfmpegFrameSource src;
    ASSERT_TRUE(src.open(path("h264.mp4")));
    ViewFrame f;
    src.getFrame(40, f);
    const auto seeks = src.seeks();
    const auto decoded = src.decodedFrames();
    for (int i = 41; i < 60; ++i) src.getFrame(i, f);
    EXPECT_EQ(src.seeks(), seeks) << "no keyframe between 40 and 59";
    EXPECT_EQ(src.decodedFrames() - decoded, 19);
    src.getFrame(59, f);
    EXPECT_EQ(src.decodedFrames() - decoded, 19) << "the same frame again decodes nothing";
}

TEST_F(Videos, OutsideTheStreamKeepsTheLastFrame) {
    FfmpegFrameSource src;
    ASSERT_TRUE(src.open(path("mjpeg.avi")));
    ViewFrame f;
    ASSERT_TRUE(src.getFrame(149, f));
    EXPECT_TRUE(src.getFrame(150, f));
    EXPECT_EQ(readIndex(f), 149);
    EXPECT_TRUE(src.getFrame(-1, f));
    EXPECT_EQ(readIndex(f), 149);
    FfmpegFrameSource fresh;
    ASSERT_TRUE(fresh.open(path("mjpeg.avi")));
    ViewFrame blank;
    EXPECT_FALSE(fresh.getFrame(5000, blank)) << "no frame decoded yet";
    EXPECT_EQ(blank.pixels[0], 0xFFFFFFFFu) << "a blank frame stays";
}

TEST_F(Videos, MissingFileAndNotAVideo) {
    FfmpegFrameSource src;
    EXPECT_FALSE(src.open(path("none.mp4")));
    ViewFrame f;
    EXPECT_FALSE(src.getFrame(0, f));
    EXPECT_EQ(src.length(), 0);
    EXPECT_FALSE(src.open(dir_->write("text.avi", "this is not a video at all\n")));
    EXPECT_FALSE(src.getFrame(0, f));
}

TEST(VideoChecks, CountsAndSizesADamagedHeaderCannotWrap) {
    EXPECT_EQ(frameCountFrom(150.0), 150);
    EXPECT_EQ(frameCountFrom(149.6), 150);
    EXPECT_EQ(frameCountFrom(3.0e9), 0) << "beyond int: unknown, not INT_MIN";
    EXPECT_EQ(frameCountFrom(-5.0), 0);
    EXPECT_EQ(frameCountFrom(std::nan("")), 0);
    EXPECT_EQ(frameCountFrom(1.0 / 0.0), 0);
    EXPECT_TRUE(plausibleFrameSize(480, 240));
    EXPECT_FALSE(plausibleFrameSize(0, 240));
    EXPECT_FALSE(plausibleFrameSize(480, -1));
    EXPECT_FALSE(plausibleFrameSize(100000, 240));
}

TEST_F(Videos, DamagedFramesLeaveTheLastGoodFrameOnView) {
    std::ifstream in(path("mjpeg.avi"), std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // Garbage over the second half of the file, every few hundred bytes.
    std::mt19937 rng(3);
    for (size_t i = bytes.size() / 2; i + 16 < bytes.size(); i += 300 + rng() % 200)
        for (size_t k = 0; k < 16; ++k) bytes[i + k] = char(rng());
    FfmpegFrameSource src;
    ASSERT_TRUE(src.open(dir_->write("damaged.avi", bytes)));
    ViewFrame f;
    ASSERT_TRUE(src.getFrame(0, f));
    EXPECT_EQ(readIndex(f), 0);
    for (int i = 1; i < kFrames; ++i) EXPECT_TRUE(src.getFrame(i, f)) << "frame " << i;
    for (int i = kFrames - 1; i >= 0; i -= 13) EXPECT_TRUE(src.getFrame(i, f)) << "frame " << i;
}

TEST_F(Videos, FramesAreConvertedStraightToTheShownSize) {
    FfmpegFrameSource src;
    ASSERT_TRUE(src.open(path("mpeg4.mkv")));
    ViewFrame small, big;
    big.resize(960, 480);
    EXPECT_EQ(big.pixels.size(), 960u * 480u);
    for (int i : {3, 77, 20}) {
        ASSERT_TRUE(src.getFrame(i, small));
        ASSERT_TRUE(src.getFrame(i, big));
        ASSERT_EQ(readIndex(small), i);
        // The same picture at twice the size: its blocks and gradients where the small one has them.
        int worst = 0;
        for (int y = 60; y < kViewHeight; y += 17)
            for (int x = 8; x < kViewWidth - 8; x += 23) {
                const uint32_t a = small.pixels[size_t(y) * kViewWidth + size_t(x)];
                const uint32_t b = big.pixels[size_t(2 * y) * 960 + size_t(2 * x)];
                for (int shift : {0, 8, 16})
                    worst = std::max(worst, std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)));
            }
        EXPECT_LE(worst, 24) << "frame " << i;
    }
}

TEST(FrameCacheTest, KeepsRecentFramesPerSizeAndNothingOutsideTheVideo) {
    RecordingFrameSource inner(50);
    FrameCache cache(inner, 2);
    ViewFrame f;
    ASSERT_TRUE(cache.getFrame(7, f));
    ASSERT_TRUE(cache.getFrame(8, f));
    ASSERT_TRUE(cache.getFrame(7, f));
    EXPECT_EQ(f.pixels[0] & 0xFF, 7u);
    EXPECT_EQ(inner.requested, (std::vector<int>{7, 8})) << "7 again comes from the cache";
    ViewFrame big;
    big.resize(960, 480);
    ASSERT_TRUE(cache.getFrame(7, big));
    EXPECT_EQ(inner.requested.size(), 3u) << "another size is converted afresh";
    ASSERT_TRUE(cache.getFrame(9, f));
    ASSERT_TRUE(cache.getFrame(8, f));
    EXPECT_EQ(inner.requested.back(), 8) << "only the last two are kept";
    EXPECT_TRUE(cache.getFrame(60, f));
    EXPECT_TRUE(cache.getFrame(60, f));
    EXPECT_EQ(std::count(inner.requested.begin(), inner.requested.end(), 60), 2) << "outside the video nothing is kept";
    EXPECT_EQ(f.pixels[0] & 0xFF, 8u) << "and the last frame stays";
    EXPECT_EQ(cache.hits(), 1);
}
