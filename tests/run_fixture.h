// A whole driving run without windows, for tests: data files written to a
// temporary folder, a virtual clock, the recording sound bank and message boxes.
#pragma once
#include <memory>
#include <string>

#include "fake_pictures.h"
#include "run/driving_run.h"
#include "sound/recording_sound.h"
#include "test_support.h"
#include "video/recording_frame_source.h"
#include "virtual_clock.h"

namespace ts::test {

class RunFixture {
public:
    TempDir dir;
    VirtualClock clock;
    RecordingMessageBoxes boxes;
    FakePictures pictures;
    RecordingSound sound{128, [this] { return clock.now(); }};
    RecordingFrameSource video{5000};
    RunHost host;
    std::unique_ptr<DrivingRun> run;
    bool fatal = false;

    // Writes the route and train files (train code 789) and loads the run.
    void load(const std::string& line, const std::string& train);

    // Reads the run's state under its lock.
    template <class F>
    auto get(F f) {
        return run->locked([&](Run& r, PanelModel& p) { return f(r, p); });
    }
    // Changes the run's state under its lock.
    template <class F>
    void set(F f) {
        run->locked([&](Run& r, PanelModel& p) { f(r, p); });
    }
    // Channels and operations recorded since the last call, as "ch:op".
    std::vector<std::string> ops();
    // Runs the virtual clock up to `t`, steps included.
    void advanceTo(int64_t t);
};

}  // namespace ts::test
