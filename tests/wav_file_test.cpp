// Loading wave files, damaged ones included.
#include <gtest/gtest.h>

#include "sound/wav_file.h"
#include "test_support.h"
#include "wave_writer.h"

using namespace ts;
using namespace ts::test;

namespace {
std::string pcm(size_t bytes) { return std::string(bytes, '\x10'); }

std::string tryLoad(const TempDir& d, const std::string& bytes, std::optional<WaveSound>* out = nullptr) {
    const std::string path = d.write("w.wav", bytes);
    std::string error;
    auto w = loadWav(path, error);
    if (out) *out = w;
    if (w) return "ok";
    return error.substr(path.size());
}
}  // namespace

TEST(WavFile, ReadsPcmFormats) {
    TempDir d;
    std::optional<WaveSound> w;
    EXPECT_EQ(tryLoad(d, riff({{"fmt ", fmtChunk(1, 2, 44100, 16)}, {"data", pcm(400)}}), &w), "ok");
    EXPECT_EQ(w->format.channels, 2);
    EXPECT_EQ(w->format.sampleRate, 44100u);
    EXPECT_EQ(w->data.size(), 400u);
    EXPECT_DOUBLE_EQ(w->seconds(), 100.0 / 44100);
    EXPECT_EQ(tryLoad(d, riff({{"fmt ", fmtChunk(1, 1, 22050, 8)}, {"LIST", "abc"}, {"data", pcm(11025)}}), &w), "ok");
    EXPECT_DOUBLE_EQ(w->seconds(), 0.5) << "an odd-sized chunk before data is skipped with its pad byte";
}

TEST(WavFile, DamagedFilesFailWithTheirMessage) {
    TempDir d;
    std::string error;
    const std::string missing = (d.path() / "none.wav").string();
    EXPECT_FALSE(loadWav(missing, error));
    EXPECT_EQ(error, missing + "が、見つかりません");
    EXPECT_EQ(tryLoad(d, "RIFX1234WAVEfmt "), "は、WAVEファイルではありません");
    EXPECT_EQ(tryLoad(d, "RIFF"), "は、WAVEファイルではありません");
    EXPECT_EQ(tryLoad(d, riff({{"data", pcm(10)}})), "には、fmtチャンクが有りません");
    EXPECT_EQ(tryLoad(d, riff({{"fmt ", "12345678"}, {"data", pcm(10)}})), "のfmtチャンクが不正です");
    EXPECT_EQ(tryLoad(d, riff({{"fmt ", fmtChunk(1, 1, 22050, 16)}})), "には、dataチャンクが有りません");
    EXPECT_EQ(tryLoad(d, riff({{"fmt ", fmtChunk(2, 1, 22050, 4)}, {"data", pcm(10)}})),
              "サウンドバッファの作成に失敗しました");
    EXPECT_EQ(tryLoad(d, riff({{"fmt ", fmtChunk(1, 1, 22050, 24)}, {"data", pcm(12)}})),
              "サウンドバッファの作成に失敗しました");
    EXPECT_EQ(tryLoad(d, riff({{"fmt ", fmtChunk(1, 3, 22050, 16)}, {"data", pcm(12)}})),
              "サウンドバッファの作成に失敗しました");
}

TEST(WavFile, SizesThatLieAreCutToTheFile) {
    TempDir d;
    std::optional<WaveSound> w;
    // A data chunk that claims more than the file holds: what is there is loaded.
    std::string bytes = riff({{"fmt ", fmtChunk(1, 1, 22050, 16)}, {"data", pcm(100)}});
    bytes.replace(bytes.size() - 104, 4, std::string("\xff\xff\x00\x00", 4));
    EXPECT_EQ(tryLoad(d, bytes, &w), "ok");
    EXPECT_EQ(w->data.size(), 100u);
    // An odd number of bytes in 16-bit sound keeps whole samples only.
    EXPECT_EQ(tryLoad(d, riff({{"fmt ", fmtChunk(1, 1, 22050, 16)}, {"data", pcm(101)}}), &w), "ok");
    EXPECT_EQ(w->data.size(), 100u);
    // A RIFF size larger than the file, and a file cut inside the fmt chunk.
    EXPECT_EQ(tryLoad(d, riff({{"fmt ", fmtChunk(1, 1, 22050, 16)}, {"data", pcm(10)}}, 5000), &w), "ok");
    const std::string full = riff({{"fmt ", fmtChunk(1, 1, 22050, 16)}, {"data", pcm(10)}});
    EXPECT_EQ(tryLoad(d, full.substr(0, 30)), "のfmtチャンクが不正です");
}
