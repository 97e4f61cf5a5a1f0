#include "sounds.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace demo {

namespace {

constexpr int kRate = 22050;
constexpr double kPi = 3.14159265358979323846;

// A small deterministic noise source.
struct Noise {
    uint32_t s = 12345;
    float next() {
        s = s * 1664525u + 1013904223u;
        return float((s >> 8) & 0xFFFF) / 32768.0f - 1.0f;
    }
};

Samples silence(double seconds) { return Samples(size_t(seconds * kRate), 0.0f); }

// One-pole low-pass filtered noise.
Samples rumble(double seconds, double cutoff, double level, uint32_t seed) {
    Noise n;
    n.s = seed;
    Samples out = silence(seconds);
    const double a = std::exp(-2 * kPi * cutoff / kRate);
    double y = 0;
    for (auto& v : out) {
        y = a * y + (1 - a) * n.next();
        v = float(y * level * 4);
    }
    return out;
}

void addTone(Samples& s, double start, double length, double hz, double level, double decay = 0) {
    const size_t a = size_t(start * kRate), n = size_t(length * kRate);
    for (size_t i = 0; i < n && a + i < s.size(); ++i) {
        const double t = double(i) / kRate;
        const double env =
            (decay > 0 ? std::exp(-t * decay) : 1.0) * std::min(1.0, t * 200) * std::min(1.0, (length - t) * 200);
        s[a + i] += float(level * env * std::sin(2 * kPi * hz * t));
    }
}

void addClick(Samples& s, double at, double level, uint32_t seed) {
    Noise n;
    n.s = seed;
    const size_t a = size_t(at * kRate);
    for (size_t i = 0; i < 900 && a + i < s.size(); ++i) {
        const double t = double(i) / kRate;
        s[a + i] += float(level * std::exp(-t * 60) * (0.6 * n.next() + 0.4 * std::sin(2 * kPi * 180 * t)));
    }
}

void normalise(Samples& s, double peak) {
    float m = 0;
    for (float v : s) m = std::max(m, std::fabs(v));
    if (m > 0)
        for (auto& v : s) v = float(v / m * peak);
}

}  // namespace

Samples runningNoise(int band, bool diesel) {
    const double seconds = 2.0;
    Samples s = rumble(seconds, 120 + band * 40, 0.25 + band * 0.03, uint32_t(100 + band));
    if (band > 0) {
        // Rail joints every 25 m, two bogies a pair of clicks each.
        const double v = (band * 10 + 5) / 3.6;
        const double every = std::min(25.0 / v, seconds);
        for (double t = 0.05; t < seconds; t += every) {
            addClick(s, t, 0.5, uint32_t(band * 7 + int(t * 100)));
            addClick(s, t + std::min(0.35, 2.5 / v), 0.45, uint32_t(band * 11 + int(t * 100)));
        }
    }
    normalise(s, diesel ? 0.5 : 0.45);
    return s;
}

Samples motorWhine(double baseHz) {
    Samples s = silence(1.0);
    addTone(s, 0, 1.0, baseHz, 0.5);
    addTone(s, 0, 1.0, baseHz * 2, 0.25);
    addTone(s, 0, 1.0, baseHz * 3.01, 0.12);
    normalise(s, 0.5);
    return s;
}

Samples dieselEngine(bool idle, bool doorsOpen) {
    Samples s = rumble(1.0, 200, 0.2, idle ? 7u : 8u);
    const double fire = idle ? 12.5 : 25.0;
    for (double t = 0; t < 1.0; t += 1 / fire) addClick(s, t, idle ? 0.5 : 0.8, uint32_t(t * 1000) + 3);
    addTone(s, 0, 1.0, fire * 2, 0.3);
    normalise(s, doorsOpen ? 0.35 : idle ? 0.45 : 0.6);
    return s;
}

Samples brakeHiss(double seconds, double level) {
    Samples s = rumble(seconds, 4000, 1.0, 42);
    for (size_t i = 0; i < s.size(); ++i) s[i] *= float(std::exp(-double(i) / kRate * 2.5 / seconds));
    normalise(s, level);
    return s;
}

Samples squeal() {
    Samples s = silence(1.0);
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = double(i) / kRate;
        s[i] = float(0.4 * std::sin(2 * kPi * (2900 * t + 8 * std::sin(2 * kPi * 6 * t))));
    }
    return s;
}

Samples compressor(int part) {
    if (part == 1) {
        Samples s = rumble(1.0, 300, 0.2, 9);
        for (double t = 0; t < 1.0; t += 1.0 / 16) addClick(s, t, 0.5, uint32_t(t * 977) + 1);
        normalise(s, 0.4);
        return s;
    }
    Samples s = silence(0.8);
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = double(i) / kRate;
        const double f = part == 0 ? 60 + 200 * t : 260 - 250 * t;
        s[i] = float(0.3 * std::sin(2 * kPi * f * t) * (part == 0 ? t / 0.8 : 1 - t / 0.8));
    }
    return s;
}

Samples horn(bool whistle) {
    Samples s = silence(1.2);
    if (whistle) {
        addTone(s, 0, 1.1, 1760, 0.5);
        addTone(s, 0, 1.1, 2220, 0.3);
    } else {
        addTone(s, 0, 1.1, 370, 0.4);
        addTone(s, 0, 1.1, 440, 0.4);
        addTone(s, 0, 1.1, 740, 0.15);
    }
    normalise(s, 0.8);
    return s;
}

Samples doorSound(bool opening) {
    Samples s = silence(1.6);
    // chime first, then the air of the door engines
    addTone(s, 0.0, 0.35, opening ? 988 : 784, 0.4, 4);
    addTone(s, 0.3, 0.4, opening ? 784 : 659, 0.4, 4);
    Samples air = brakeHiss(0.95, 0.3);
    for (size_t i = 0; i < air.size() && i + size_t(0.62 * kRate) < s.size(); ++i)
        s[i + size_t(0.62 * kRate)] += air[i];
    normalise(s, 0.7);
    return s;
}

Samples atsBell() {
    Samples s = silence(1.0);
    for (double t = 0; t < 1.0; t += 0.06) addTone(s, t, 0.06, 3300, 0.5, 30);
    normalise(s, 0.7);
    return s;
}

Samples chime() {
    Samples s = silence(1.0);
    addTone(s, 0, 0.45, 1318, 0.5, 5);
    addTone(s, 0.45, 0.55, 1046, 0.5, 5);
    return s;
}

Samples ding() {
    Samples s = silence(0.6);
    addTone(s, 0, 0.6, 2093, 0.6, 7);
    return s;
}

Samples buzzer() {
    Samples s = silence(1.0);
    for (size_t i = 0; i < s.size(); ++i) s[i] = (int(double(i) / kRate * 800 * 2) % 2 ? 0.25f : -0.25f);
    return s;
}

Samples melody(int variant) {
    static const double notes[2][12] = {{659, 784, 880, 784, 659, 587, 523, 587, 659, 784, 659, 523},
                                        {523, 587, 659, 523, 784, 659, 587, 523, 440, 523, 587, 523}};
    // short enough that a newcomer's train leaves within 20 s of Start
    Samples s = silence(1.85);
    for (int i = 0; i < 12; ++i) addTone(s, i * 0.15, 0.14, notes[variant % 2][i], 0.4, 3);
    normalise(s, 0.7);
    return s;
}

Samples creak() {
    Samples s = silence(1.0);
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = double(i) / kRate;
        s[i] = float(0.2 * std::sin(2 * kPi * (140 * t + 20 * std::sin(2 * kPi * 3 * t))));
    }
    return s;
}

Samples crossingBell() {
    Samples s = silence(0.8);
    addTone(s, 0.0, 0.4, 740, 0.5, 9);
    addTone(s, 0.4, 0.4, 740, 0.5, 9);
    addTone(s, 0.0, 0.4, 1480, 0.2, 12);
    addTone(s, 0.4, 0.4, 1480, 0.2, 12);
    return s;
}

void writeVoice(const fs::path& p, const std::string& text, int variant) {
    fs::create_directories(p.parent_path());
    const std::string cmd = "espeak-ng -v en -s 155 -p " + std::to_string(40 + variant % 3 * 8) + " -w '" + p.string() +
                            "' \"" + text + "\" >/dev/null 2>&1";
    if (std::system(cmd.c_str()) == 0 && fs::exists(p) && fs::file_size(p) > 100) return;
    Samples s = silence(0.8);
    addTone(s, 0, 0.3, 600 + variant * 20, 0.4, 3);
    addTone(s, 0.35, 0.3, 500 + variant * 20, 0.4, 3);
    writeWave(p, s);
}

}  // namespace demo
