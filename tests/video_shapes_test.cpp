// Videos of other frame rates and shapes than the view's: each picture
// carries its own number as black and white columns, so the test can tell
// which moment of the recording a view frame shows.
#include <gtest/gtest.h>

#include <cmath>

#include "test_support.h"
#include "video/ffmpeg_frame_source.h"
#include "video/video_writer.h"

using namespace ts;

namespace {

constexpr int kBits = 10;
constexpr double kSeconds = 3.0;

// Picture `n` of a w x h video: its number in columns across the middle
// third (which survives any central crop to 2:1), grey elsewhere.
void numberedPicture(int n, int w, int h, std::vector<uint32_t>& px) {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool band = y > h / 3 && y < 2 * h / 3;
            const int bit = x * kBits / w;
            px[size_t(y) * w + size_t(x)] = !band ? 0xFF808080u : ((n >> bit) & 1 ? 0xFFFFFFFFu : 0xFF000000u);
        }
}

int pictureNumber(const ViewFrame& f) {
    int v = 0;
    for (int b = 0; b < kBits; ++b) {
        const int x = (2 * b + 1) * f.width / (2 * kBits);
        const uint32_t c = f.pixels[size_t(f.height / 2) * f.width + size_t(x)];
        if (((c >> 8) & 0xFF) > 128) v |= 1 << b;
    }
    return v;
}

std::string makeVideo(const test::TempDir& dir, const char* name, int fps, int w, int h) {
    VideoSettings s;
    s.codec = VideoCodec::MJPEG;
    s.quality = 3;
    s.fps = fps;
    s.width = w;
    s.height = h;
    const std::string path = (dir.path() / name).string();
    VideoWriter writer(path, s);
    EXPECT_TRUE(writer.ok());
    std::vector<uint32_t> px(size_t(w) * h);
    for (int n = 0; n < int(kSeconds * fps); ++n) {
        numberedPicture(n, w, h, px);
        writer.add(px.data());
    }
    EXPECT_TRUE(writer.finish());
    return path;
}

// A red disc on white at the centre of a single-picture video.
std::string makeDisc(const test::TempDir& dir, int w, int h, int radius) {
    VideoSettings s;
    s.codec = VideoCodec::MJPEG;
    s.quality = 2;
    s.width = w;
    s.height = h;
    const std::string path = (dir.path() / "disc.avi").string();
    VideoWriter writer(path, s);
    std::vector<uint32_t> px(size_t(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const double dx = x - w / 2.0 + 0.5, dy = y - h / 2.0 + 0.5;
            px[size_t(y) * w + size_t(x)] = dx * dx + dy * dy <= double(radius) * radius ? 0xFFFF0000u : 0xFFFFFFFFu;
        }
    writer.add(px.data());
    EXPECT_TRUE(writer.finish());
    return path;
}

bool reddish(uint32_t c) { return ((c >> 16) & 0xFF) > 160 && ((c >> 8) & 0xFF) < 100; }

struct Extent {
    int width = 0, height = 0;
};

Extent discExtent(const ViewFrame& f) {
    int x0 = f.width, x1 = -1, y0 = f.height, y1 = -1;
    for (int y = 0; y < f.height; ++y)
        for (int x = 0; x < f.width; ++x)
            if (reddish(f.pixels[size_t(y) * f.width + size_t(x)])) {
                x0 = std::min(x0, x), x1 = std::max(x1, x);
                y0 = std::min(y0, y), y1 = std::max(y1, y);
            }
    return {x1 - x0 + 1, y1 - y0 + 1};
}

}  // namespace

// Frame i of the view is the picture nearest to i / 30 s of the recording,
// within half a picture, whatever the video's own rate.
TEST(VideoFrameRates, ViewFramesAreThirtiethsOfASecondOfRecording) {
    test::TempDir dir;
    for (const int fps : {25, 30, 60}) {
        SCOPED_TRACE(fps);
        FfmpegFrameSource src;
        ASSERT_TRUE(src.open(makeVideo(dir, ("r" + std::to_string(fps) + ".avi").c_str(), fps, 320, 160)));
        EXPECT_EQ(src.sourceFrames(), int(kSeconds * fps));
        EXPECT_DOUBLE_EQ(src.sourceRate(), fps);
        EXPECT_EQ(src.length(), int(kSeconds * 30));
        ViewFrame f;
        for (int i = 0; i < src.length(); ++i) {
            ASSERT_TRUE(src.getFrame(i, f));
            const int n = pictureNumber(f);
            const double shown = double(n) / fps, wanted = double(i) / 30.0;
            ASSERT_LE(std::abs(shown - wanted), 0.5 / fps + 1e-9) << "view frame " << i << " shows picture " << n;
            if (fps == 30) {
                ASSERT_EQ(n, i);
            } else if (fps == 60) {
                ASSERT_EQ(n, 2 * i);
            }
        }
        // Backwards and by jumps the same pictures come back.
        for (int i : {89, 45, 3, 60, 0}) {
            ASSERT_TRUE(src.getFrame(i, f));
            EXPECT_LE(std::abs(double(pictureNumber(f)) / fps - i / 30.0), 0.5 / fps + 1e-9) << i;
        }
    }
}

TEST(VideoShapes, AWidePictureIsCroppedCentrallyAndKeepsItsNumber) {
    test::TempDir dir;
    FfmpegFrameSource src;
    ASSERT_TRUE(src.open(makeVideo(dir, "wide.avi", 30, 640, 360)));
    ViewFrame f;
    ASSERT_TRUE(src.getFrame(37, f));
    EXPECT_EQ(pictureNumber(f), 37);
    // The crop keeps the full width: the first and last columns are the
    // picture's own edge bits, not black bars.
    const uint32_t left = f.pixels[size_t(f.height / 2) * f.width + 1];
    EXPECT_TRUE(((left >> 8) & 0xFF) > 128) << std::hex << left;  // bit 0 of 37 is set
}

TEST(VideoShapes, ADiscStaysRoundCroppedOrLetterboxed) {
    test::TempDir dir;
    for (const auto& shape : {std::pair{640, 360}, std::pair{480, 360}, std::pair{640, 200}}) {
        const auto [w, h] = shape;
        SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
        const std::string path = makeDisc(dir, w, h, 60);
        for (const PictureFit fit : {PictureFit::Crop, PictureFit::Letterbox}) {
            FfmpegFrameSource src;
            src.setFit(fit);
            ASSERT_TRUE(src.open(path));
            ViewFrame f;
            ASSERT_TRUE(src.getFrame(0, f));
            const Extent e = discExtent(f);
            EXPECT_GT(e.width, 40);
            EXPECT_NEAR(e.width, e.height, 3) << (fit == PictureFit::Crop ? "crop" : "letterbox");
            const uint32_t corner = f.pixels[0];
            const bool barsAtTheSides = fit == PictureFit::Letterbox;
            if (barsAtTheSides)
                EXPECT_EQ(corner & 0xFFFFFF, 0u) << "a letterboxed picture has black bars";
            else
                EXPECT_GT(corner & 0xFF, 200u) << "a cropped picture fills the view";
        }
    }
}

// A 2:1 picture is neither cropped nor barred, whichever fit is asked for.
TEST(VideoShapes, TwoToOnePicturesFillTheViewAsBefore) {
    test::TempDir dir;
    const std::string path = makeDisc(dir, 480, 240, 60);
    Extent extents[2];
    int k = 0;
    for (const PictureFit fit : {PictureFit::Crop, PictureFit::Letterbox}) {
        FfmpegFrameSource src;
        src.setFit(fit);
        ASSERT_TRUE(src.open(path));
        ViewFrame f;
        ASSERT_TRUE(src.getFrame(0, f));
        EXPECT_GT(f.pixels[0] & 0xFF, 200u);
        extents[k++] = discExtent(f);
    }
    EXPECT_NEAR(extents[0].width, 120, 3);
    EXPECT_EQ(extents[0].width, extents[1].width);
    EXPECT_EQ(extents[0].height, extents[1].height);
}
