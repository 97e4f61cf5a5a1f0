// Writes a recording: every input that entered a run and every step and paint
// that ran between them, in the order they took the run's lock, as a drive
// script of "@step N/M" lines. Called under the run's lock only.
#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <ostream>
#include <string>

namespace ts {

class RunRecorder {
public:
    explicit RunRecorder(std::string trainCode) : trainCode_(std::move(trainCode)) {}

    // From now on the recording goes to `out`, beginning with its header and
    // what was recorded before.
    void attach(std::unique_ptr<std::ostream> out, const std::string& dataHash);
    bool attached() const { return out_ != nullptr; }

    // One input, as the script line that repeats it ("char z", "jump 2").
    void input(const std::string& command);
    void simulationStep() { token('s'); ++simulation_; }
    void presentationStep() { token('t'); ++presentation_; }
    // A paint that settled `frame`; `current` when that is the frame the train stands at.
    void paint(int32_t frame, bool current);
    // Every answer of a sound channel's status query: the device plays in real
    // time, so what it answers is an input of the run too. Only changes are written.
    void soundStatus(int channel, int status);
    // Writes the steps still held back.
    void flush();

    int64_t simulationSteps() const { return simulation_; }
    int64_t presentationSteps() const { return presentation_; }

private:
    void token(char kind);
    void line(const std::string& body);
    void write(const std::string& text);

    std::string trainCode_;
    std::unique_ptr<std::ostream> out_;
    std::string held_;  // written when attached
    int64_t simulation_ = 0, presentation_ = 0;
    // The "run" line being gathered: its anchor, text, and the last token's run.
    int64_t runSimulation_ = 0, runPresentation_ = 0;
    std::string run_;
    int runTokens_ = 0;
    char lastKind_ = 0;
    int lastCount_ = 0;
    struct Channel {
        int64_t calls = 0;
        int last = 0;
    };
    std::map<int, Channel> channels_;
};

}  // namespace ts
