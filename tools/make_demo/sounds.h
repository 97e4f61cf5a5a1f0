// Synthesised sounds of the demo trains and lines (22 050 Hz mono).
#pragma once
#include <string>
#include <vector>

#include "files.h"

namespace demo {

using Samples = std::vector<float>;

Samples runningNoise(int band, bool diesel);
Samples motorWhine(double baseHz);
Samples dieselEngine(bool idle, bool doorsOpen);
Samples brakeHiss(double seconds, double level);
Samples squeal();
Samples compressor(int part);  // 0 start, 1 running loop, 2 stop
Samples horn(bool electricWhistle);
Samples doorSound(bool opening);
Samples atsBell();
Samples chime();
Samples ding();
Samples buzzer();
Samples melody(int variant);
Samples creak();
Samples crossingBell();

// A spoken phrase (espeak-ng when installed, otherwise a short tone sequence).
void writeVoice(const fs::path& p, const std::string& text, int variant);

}  // namespace demo
