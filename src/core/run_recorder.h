// Writes a recording: every input that entered a run and every step and paint
// that ran between them, in the order they took the run's lock, as a drive
// script of "@step N/M" lines. Called under the run's lock only.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <ostream>
#include <string>

namespace ts {

class RunRecorder {
public:
    explicit RunRecorder(std::string trainCode) : trainCode_(std::move(trainCode)) {}
    // A recording attached and never finished is put in place now.
    ~RunRecorder() { finish(); }
    RunRecorder(const RunRecorder&) = delete;
    RunRecorder& operator=(const RunRecorder&) = delete;

    // Where a recording goes: the stream, what puts the file in place at the
    // end (its error, empty when it succeeded), and who hears, once, that a
    // write failed (a full disk): the recording stops there.
    struct Target {
        std::unique_ptr<std::ostream> out;
        std::function<std::string()> finish;
        std::function<void()> failed;
    };

    // From now on the recording goes to `target`, beginning with its header and
    // what was recorded before.
    void attach(Target target, const std::string& dataHash);
    bool attached() const { return out_ != nullptr; }
    // Writes what is held back and puts the file in place; the error, empty when it is whole.
    std::string finish();
    bool failed() const { return failed_; }

    // One input, as the script line that repeats it ("char z", "jump 2").
    void input(const std::string& command);
    void simulationStep() {
        token('s');
        ++simulation_;
    }
    void presentationStep() {
        token('t');
        ++presentation_;
    }
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
    void check();

    std::string trainCode_;
    std::unique_ptr<std::ostream> out_;
    std::function<std::string()> finish_;
    std::function<void()> failedHook_;
    bool failed_ = false, finished_ = false;
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
