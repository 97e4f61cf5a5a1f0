// Reading RIFF wave files: the "fmt " and "data" chunks of PCM sound.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ts {

struct WaveFormat {
    uint16_t formatTag = 0;  // 1 = PCM
    uint16_t channels = 0;
    uint32_t sampleRate = 0;
    uint16_t blockAlign = 0;
    uint16_t bitsPerSample = 0;
};

struct WaveSound {
    WaveFormat format;
    std::vector<uint8_t> data;  // whole sample frames only

    // Length in seconds at the recorded rate.
    double seconds() const;
};

// Loads a wave file. On failure returns nullopt and sets `error` to the
// message, the file name directly before it. Only what is really in the file
// is read: chunk sizes that run past its end are cut to what is there.
std::optional<WaveSound> loadWav(const std::string& path, std::string& error);

// The same from the file's bytes; `path` only names the file in the message.
std::optional<WaveSound> parseWav(const std::vector<uint8_t>& bytes, const std::string& path, std::string& error);

}  // namespace ts
