// The wave reader on arbitrary bytes: either a sound whose data is whole
// sample frames of a supported format, or exactly one of the reader's messages.
#include "fuzz_support.h"
#include "sound/wav_file.h"

using namespace ts;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes(data, data + size);
    std::string error;
    const auto wave = parseWav(bytes, "w.wav", error);
    if (!wave) {
        static const fuzz::KnownMessages known{
            {"w.wavは、WAVEファイルではありません", "w.wavには、fmtチャンクが有りません",
             "w.wavのfmtチャンクが不正です", "w.wavには、dataチャンクが有りません",
             "w.wavサウンドバッファの作成に失敗しました"},
            {},
            {}};
        fuzz::expectOneKnownMessage({error}, known);
        return 0;
    }
    const WaveFormat& f = wave->format;
    if (f.blockAlign == 0 || wave->data.size() % f.blockAlign != 0) fuzz::fail("a part sample frame kept");
    if (wave->data.size() > size) fuzz::fail("more sound than bytes");
    if (!(wave->seconds() >= 0)) fuzz::fail("a negative or NaN length");
    return 0;
}
