// The quick-seeking working copy shows the original's picture at every
// position, whatever the original's rate; and a video whose header lies
// about its length is measured from what it holds.
#include <gtest/gtest.h>

extern "C" {
#include <libavformat/avformat.h>
}

#include <array>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "test_support.h"
#include "video/ffmpeg_frame_source.h"
#include "video/video_writer.h"
#include "video/working_copy.h"

using namespace ts;

namespace {

// Large cells whose grey levels change from picture to picture, so that a
// small greyscale copy of the view tells every picture apart after scaling
// and encoding.
uint32_t cellLevel(int picture, int cell) {
    uint32_t h = uint32_t(picture) * 2654435761u ^ uint32_t(cell) * 40503u;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    h ^= h >> 15;
    return 24 + h % 208;
}

std::string makeVideo(const std::string& path, VideoSettings s, int pictures) {
    VideoWriter writer(path, s);
    EXPECT_TRUE(writer.ok()) << path;
    std::vector<uint32_t> px(size_t(s.width) * s.height);
    for (int i = 0; i < pictures; ++i) {
        for (int y = 0; y < s.height; ++y)
            for (int x = 0; x < s.width; ++x) {
                const uint32_t v = cellLevel(i, (y * 4 / s.height) * 8 + x * 8 / s.width);
                px[size_t(y) * s.width + x] = 0xFF000000u | v << 16 | v << 8 | v;
            }
        writer.add(px.data());
    }
    EXPECT_TRUE(writer.finish());
    return path;
}

// 16 x 8 mean grey levels of a view picture.
using Signature = std::array<int, 128>;

Signature signatureOf(const ViewFrame& f) {
    Signature s{};
    std::array<int, 128> n{};
    for (int y = 0; y < f.height; ++y)
        for (int x = 0; x < f.width; ++x) {
            const uint32_t p = f.pixels[size_t(y) * f.width + x];
            const int cell = (y * 8 / f.height) * 16 + x * 16 / f.width;
            s[size_t(cell)] += int((p >> 16 & 0xFF) + (p >> 8 & 0xFF) + (p & 0xFF)) / 3;
            ++n[size_t(cell)];
        }
    for (size_t i = 0; i < s.size(); ++i) s[i] /= std::max(1, n[i]);
    return s;
}

int distance(const Signature& a, const Signature& b) {
    int d = 0;
    for (size_t i = 0; i < a.size(); ++i) d += std::abs(a[i] - b[i]);
    return d;
}

// A sink into a file, as the cache's writer gives one.
struct FileSink {
    FILE* f;
    explicit FileSink(const std::string& path) : f(std::fopen(path.c_str(), "w+b")) {}
    ~FileSink() {
        if (f) std::fclose(f);
    }
    CopySink sink() {
        return {[this](std::string_view b) { return std::fwrite(b.data(), 1, b.size(), f) == b.size(); },
                [this](int64_t offset, int whence) -> int64_t {
                    if (fseeko(f, off_t(offset), whence) != 0) return -1;
                    return int64_t(ftello(f));
                }};
    }
};

// Every picture decoded, none left out: the reference.
std::vector<Signature> everyFrame(const std::string& path) {
    FfmpegFrameSource src;
    src.setDecodeEveryPicture(true);
    EXPECT_TRUE(src.open(path));
    std::vector<Signature> out;
    ViewFrame f;
    for (int i = 0; i < src.length(); ++i) {
        EXPECT_TRUE(src.getFrame(i, f)) << i;
        out.push_back(signatureOf(f));
    }
    return out;
}

void expectSameFrames(int rate) {
    test::TempDir dir;
    VideoSettings s;
    s.width = 640;
    s.height = 360;
    s.fps = rate;
    s.gop = 250;  // keyframes seconds apart, B-frames between
    s.quality = 18;
    const std::string original =
        makeVideo((dir.path() / ("camera" + std::to_string(rate) + ".mp4")).string(), s, rate * 9);
    const std::string copy = (dir.path() / "copy.mp4").string();
    int calls = 0, lastDone = 0, lastTotal = 0;
    CopyReport report;
    {
        FileSink out(copy);
        report = writeWorkingCopy(original, out.sink(), kViewWidth, [&](int done, int total) {
            ++calls;
            EXPECT_GE(done, lastDone);
            lastDone = done;
            lastTotal = total;
            return true;
        });
    }
    ASSERT_EQ(report.result, CopyResult::Done);
    // One picture per view frame, whatever the original's rate.
    EXPECT_EQ(report.pictures, 9 * kViewFramesPerSecond);
    EXPECT_GT(calls, 2);
    EXPECT_EQ(lastDone, lastTotal);
    EXPECT_TRUE(copyMatches(original, copy));
    // A copy made as earlier ones were, a picture for each of the original's, serves too.
    EXPECT_TRUE(copyMatches(original, original));

    FfmpegFrameSource o, c;
    ASSERT_TRUE(o.open(original));
    ASSERT_TRUE(c.open(copy));
    EXPECT_EQ(c.length(), o.length());
    EXPECT_EQ(c.length(), 9 * kViewFramesPerSecond);
    EXPECT_EQ(c.sourceFrames(), c.length());
    EXPECT_DOUBLE_EQ(c.sourceRate(), kViewFramesPerSecond);
    // Smaller, still covering the view, and a keyframe every 30 pictures.
    EXPECT_LT(c.sourceWidth(), 640);
    EXPECT_GE(c.sourceHeight(), kViewHeight);
    EXPECT_NEAR(c.keyframeSeconds(), 1.0, 0.01);

    const std::vector<Signature> originals = everyFrame(original);
    ASSERT_EQ(int(originals.size()), o.length());
    // 200 positions out of order (most of them a seek in the copy).
    ViewFrame f;
    for (int k = 0; k < 200; ++k) {
        const int p = (k * 97) % c.length();
        ASSERT_TRUE(c.getFrame(p, f));
        const Signature sig = signatureOf(f);
        size_t best = 0;
        for (size_t q = 1; q < originals.size(); ++q)
            if (distance(sig, originals[q]) < distance(sig, originals[best])) best = q;
        // The best match shows the original's picture at that position (a
        // picture shown at two positions matches either).
        EXPECT_EQ(distance(originals[best], originals[size_t(p)]), 0) << "position " << p << " matched " << best;
        EXPECT_LT(distance(sig, originals[size_t(p)]), 128 * 6) << "position " << p;
    }
    // The last position too, after a seek back from the middle.
    ASSERT_TRUE(c.getFrame(c.length() / 2, f));
    ASSERT_TRUE(c.getFrame(c.length() - 1, f));
    EXPECT_LT(distance(signatureOf(f), originals.back()), 128 * 6);
}

}  // namespace

TEST(WorkingCopy, SizeCoversTheViewALittleAboveAndNeverGrows) {
    const CopySize a = workingCopySize(1920, 1080, 480);
    // The width covers a letterboxed view, the height a cropped one.
    EXPECT_GE(a.width, 480);
    EXPECT_LE(a.width, 540);
    EXPECT_GE(a.height, 240);
    EXPECT_EQ(a.width % 2, 0);
    EXPECT_EQ(a.height % 2, 0);
    EXPECT_NEAR(double(a.width) / a.height, 16.0 / 9.0, 0.02);
    // A wide view needs the width: 1440 across covers with 1584.
    const CopySize b = workingCopySize(3840, 2160, 1440);
    EXPECT_GE(b.width, 1440);
    EXPECT_LE(b.width, 1600);
    // Never larger than the original.
    const CopySize c = workingCopySize(640, 360, 1440);
    EXPECT_EQ(c.width, 640);
    EXPECT_EQ(c.height, 360);
    EXPECT_EQ(workingCopySize(0, 360, 480).width, 0);
    // Large copies get keyframes three times as often: a jump decodes a third as much.
    EXPECT_EQ(copyKeyframeInterval(a), 30);
    EXPECT_EQ(copyKeyframeInterval(b), 10);
}

TEST(WorkingCopy, ShowsTheSameFrameAtEveryPositionFromA60fpsOriginal) { expectSameFrames(60); }
TEST(WorkingCopy, ShowsTheSameFrameAtEveryPositionFromA25fpsOriginal) { expectSameFrames(25); }

TEST(WorkingCopy, CancellingStopsAndAnUnreadableOriginalIsSaid) {
    test::TempDir dir;
    VideoSettings s;
    s.gop = 120;
    const std::string original = makeVideo((dir.path() / "v.mp4").string(), s, 120);
    FileSink out((dir.path() / "copy.mp4").string());
    int calls = 0;
    const CopyReport r = writeWorkingCopy(original, out.sink(), kViewWidth, [&](int, int) { return ++calls < 3; });
    EXPECT_EQ(r.result, CopyResult::Cancelled);
    EXPECT_EQ(calls, 3);
    EXPECT_LT(r.pictures, 120);
    FileSink out2((dir.path() / "copy2.mp4").string());
    EXPECT_EQ(writeWorkingCopy((dir.path() / "none.mp4").string(), out2.sink(), kViewWidth, {}).result,
              CopyResult::CannotRead);
}

TEST(WorkingCopy, AFailingSinkEndsTheCopyAsAWriteFailure) {
    test::TempDir dir;
    VideoSettings s;
    const std::string original = makeVideo((dir.path() / "v.mp4").string(), s, 90);
    size_t written = 0;
    const CopySink full{[&](std::string_view b) {
                            if (written + b.size() > 20000) return false;
                            written += b.size();
                            return true;
                        },
                        [&](int64_t, int) -> int64_t { return -1; }};
    const CopyReport r = writeWorkingCopy(original, full, kViewWidth, {});
    EXPECT_EQ(r.result, CopyResult::WriteFailed);
}

namespace {

// Overwrites the 32-bit little-endian word `at` bytes after each `tag`.
int patchAfter(std::string& bytes, const char* tag, size_t at, uint32_t value) {
    int n = 0;
    for (size_t p = bytes.find(tag); p != std::string::npos; p = bytes.find(tag, p + 4)) {
        for (int b = 0; b < 4; ++b) bytes[p + at + size_t(b)] = char(value >> (8 * b) & 0xFF);
        ++n;
    }
    return n;
}

}  // namespace

// A header claiming 2^31 pictures for a file of 150: the length comes from
// what the file holds, and every frame shows its own picture.
TEST(VideoLength, AHeaderThatLiesAboutTheLengthIsMeasuredFromTheFile) {
    test::TempDir dir;
    VideoSettings s;
    s.codec = VideoCodec::MPEG4;
    s.gop = 30;
    s.quality = 3;
    const std::string honest = makeVideo((dir.path() / "honest.avi").string(), s, 150);
    std::string bytes = test::slurpFile(honest);
    // avih: dwTotalFrames 16 bytes into its data; strh: dwLength 32 bytes in.
    ASSERT_EQ(patchAfter(bytes, "avih", 8 + 16, 0x80000000u), 1);
    ASSERT_EQ(patchAfter(bytes, "strh", 8 + 32, 0x80000000u), 1);
    const std::string lying = (dir.path() / "lying.avi").string();
    std::ofstream(lying, std::ios::binary) << bytes;

    // The lie is in effect: the container says 2^31 pictures.
    AVFormatContext* format = nullptr;
    ASSERT_EQ(avformat_open_input(&format, lying.c_str(), nullptr, nullptr), 0);
    ASSERT_GE(avformat_find_stream_info(format, nullptr), 0);
    EXPECT_EQ(format->streams[0]->nb_frames, int64_t(1) << 31);
    avformat_close_input(&format);

    FfmpegFrameSource a, b;
    ASSERT_TRUE(a.open(honest));
    ASSERT_TRUE(b.open(lying));
    EXPECT_EQ(a.length(), 150);
    EXPECT_EQ(b.length(), 150);
    ViewFrame fa, fb;
    for (int i : {0, 1, 75, 149, 40}) {
        ASSERT_TRUE(a.getFrame(i, fa)) << i;
        ASSERT_TRUE(b.getFrame(i, fb)) << i;
        EXPECT_EQ(distance(signatureOf(fa), signatureOf(fb)), 0) << "frame " << i;
    }
}
