#include "run_recorder.h"

namespace ts {

namespace {
// Tokens per "run" line: a line is whole once written, so a killed program loses at most this many.
constexpr int kTokensPerLine = 64;
}  // namespace

void RunRecorder::attach(Target target, const std::string& dataHash) {
    out_ = std::move(target.out);
    finish_ = std::move(target.finish);
    failedHook_ = std::move(target.failed);
    *out_ << "# A recorded drive. Replay: trainsim drive --script FILE; watch: trainsim --replay FILE\n"
          << "@step 0/0 recording 1\n"
          << "@step 0/0 train " << trainCode_ << "\n"
          << "@step 0/0 data " << dataHash << "\n"
          << held_;
    held_.clear();
    out_->flush();
    check();
}

void RunRecorder::check() {
    if (failed_ || *out_) return;
    failed_ = true;
    if (failedHook_) failedHook_();
}

void RunRecorder::write(const std::string& text) {
    if (out_) {
        if (failed_ || finished_) return;
        *out_ << text;
        out_->flush();
        check();
    } else {
        held_ += text;
    }
}

std::string RunRecorder::finish() {
    if (!out_ || finished_) return {};
    flush();
    finished_ = true;
    std::string error = finish_ ? finish_() : std::string();
    if (error.empty() && failed_) error = "the recording could not be written";
    return error;
}

void RunRecorder::line(const std::string& body) {
    write("@step " + std::to_string(simulation_) + "/" + std::to_string(presentation_) + " " + body + "\n");
}

void RunRecorder::flush() {
    if (run_.empty()) return;
    if (lastCount_ > 1) run_ += std::to_string(lastCount_);
    write("@step " + std::to_string(runSimulation_) + "/" + std::to_string(runPresentation_) + " run" + run_ + "\n");
    run_.clear();
    runTokens_ = 0;
    lastKind_ = 0;
    lastCount_ = 0;
}

void RunRecorder::token(char kind) {
    if (kind == lastKind_ && kind != 'p') {
        ++lastCount_;
        return;
    }
    if (runTokens_ >= kTokensPerLine) flush();
    if (run_.empty()) {
        runSimulation_ = simulation_;
        runPresentation_ = presentation_;
    }
    if (lastCount_ > 1) run_ += std::to_string(lastCount_);
    run_ += ' ';
    run_ += kind;
    ++runTokens_;
    lastKind_ = kind;
    lastCount_ = 1;
}

void RunRecorder::paint(int32_t frame, bool current) {
    token('p');
    if (!current) run_ += "=" + std::to_string(frame);
}

void RunRecorder::input(const std::string& command) {
    flush();
    line(command);
}

void RunRecorder::soundStatus(int channel, int status) {
    Channel& c = channels_[channel];
    ++c.calls;
    if (c.calls > 1 && status == c.last) return;
    c.last = status;
    flush();
    line("sound " + std::to_string(channel) + " " + std::to_string(c.calls) + " " + std::to_string(status));
}

}  // namespace ts
