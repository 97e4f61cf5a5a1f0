// The description of a demo line: everything that stands along it, from which
// both the route file and the route video are made, so that they agree.
#pragma once
#include <string>
#include <vector>

namespace demo {

struct Station {
    std::string name;   // shown in the cab
    std::string board;  // the name board on the platform (romanised)
    int kind;           // 0 stop, 1 pass, 2 stop without doors
    int stopFrom, stopTo;
    int departure, close;  // time of day, 1/30 s
    int nextStopDistance;  // cm
};

struct Signal {
    int kind, aspectSet, from, to;
    std::string label;
};

struct Slope {
    double gradient;
    int from, to;
};
struct Limit {
    int limit, notice, from, to;
};
struct Sign {
    int image, from, to;
};
struct Tunnel {
    int from, to;
};
struct SpeedRow {
    int from, to, fromSpeed, toSpeed;
};

struct Line {
    std::string code, name, title;
    bool electric;
    int startPos, startTime, frames;
    std::vector<Station> stations;
    std::vector<Signal> signalRows;
    std::vector<Slope> slopes;
    std::vector<Limit> limits;
    std::vector<Sign> signs;  // image into the other-sign list: 0 whistle board, 1 level crossing
    std::vector<Tunnel> tunnels;
    std::vector<SpeedRow> speed;  // the recorded run
    int levelCrossing;            // frame of the level crossing (Doppler bell)
    int speedCheck;               // frame of a speed check
};

// The two demo lines: "789" (electric) and "40" (diesel).
Line electricLine();
Line dieselLine();

// A short test line with an irregular run: stands of different length, a
// slow crawl and a fast stretch (for testing the speed found in the picture).
Line irregularLine();

// The recording train's speed at a frame, km/h (as the [SpeedUnit] rows give it).
double recordedSpeed(const Line& l, int frame);

}  // namespace demo
