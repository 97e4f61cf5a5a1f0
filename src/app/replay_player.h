// Plays a recording into a driving window: the recorded steps, paints and
// inputs one at a time in their recorded order, checking each line's step
// anchor, so that the run goes through the states it went through.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "drive_script.h"

namespace ts {

class TForm1;

class ReplayPlayer {
public:
    // Hands the recorded sound answers to the window's run at once.
    ReplayPlayer(TForm1& form, std::vector<ScriptCommand> commands);

    // Runs the next recorded step, paint or input; false at the end of the
    // recording, at a closed run, or at an error (`error()`).
    bool advance();
    // The next thing to run is a 33 ms step (a watched replay paces on these).
    bool nextIsSimulationStep();
    bool finished() const { return finished_; }

    int64_t simulationSteps() const { return simulation_; }
    int64_t presentationSteps() const { return presentation_; }
    const std::string& error() const { return error_; }

    // Before each recorded step, with the counts it brings the run to.
    std::function<void(int64_t simulation, int64_t presentation)> beforeStep;
    // Before each recorded input.
    std::function<void(const ScriptCommand&)> onInput;
    // Asked before each recorded step with the counts it would bring the run
    // to: true ends the replay there (`stopped()`), the step not run.
    std::function<bool(int64_t simulation, int64_t presentation)> stopBefore;
    bool stopped() const { return stopped_; }

private:
    // Moves past lines that run nothing and checks the anchor of the next one; false at the end.
    bool seek();
    // A run line's steps must bring the counts to the next line's anchor: a
    // damaged one is refused before its steps run, however many it asks for.
    bool reachesNextAnchor(size_t line);
    bool diverge(const ScriptCommand& c, const std::string& why);

    TForm1& form_;
    std::vector<ScriptCommand> commands_;
    size_t next_ = 0, token_ = 0;
    int left_ = 0;  // steps left of the current token
    bool anchorChecked_ = false;
    bool finished_ = false, stopped_ = false;
    int64_t simulation_ = 0, presentation_ = 0;
    std::string error_;
};

}  // namespace ts
