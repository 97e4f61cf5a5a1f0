// Recordings on arbitrary bytes, two ways (the first byte picks):
// - as text to the script parser: either lines with anchors that never go
//   back and run lines within their step bound, or one error naming a line;
// - as a sequence of steps, paints, inputs and sound answers given to the
//   recorder, whose file must parse and whose every run line must bring the
//   step counts exactly to the next line's anchor (what the replay checks).
#include <sstream>

#include "drive_script.h"
#include "fuzz_support.h"
#include "run_recorder.h"

using namespace ts;
using K = ScriptCommand::Kind;

namespace {

void checkParsed(const ParsedScript& p) {
    int64_t sim = 0, pres = 0;
    for (const ScriptCommand& c : p.commands) {
        if (!c.anchored) continue;
        if (c.simulationSteps < sim || c.presentationSteps < pres) fuzz::fail("an anchor goes back");
        sim = c.simulationSteps, pres = c.presentationSteps;
        if (c.kind != K::Run) continue;
        int64_t steps = 0;
        for (const StepToken& t : c.steps) {
            if (t.count < 1) fuzz::fail("a step token of no steps");
            if (t.kind == StepToken::Kind::Paint && t.count != 1) fuzz::fail("a paint that runs more than once");
            steps += t.count;
        }
        if (steps > kMaxRunLineSteps) fuzz::fail("a run line beyond the step bound");
    }
}

void parseText(const std::string& text) {
    ParsedScript p;
    try {
        p = parseScript(text);
    } catch (const ScriptError& e) {
        const std::string what = e.what();
        if (e.line < 1 || !what.starts_with("script line " + std::to_string(e.line) + ": "))
            fuzz::fail("an error that names no line: " + what);
        return;
    }
    checkParsed(p);
}

void record(const uint8_t* data, size_t size) {
    RunRecorder recorder("789");
    auto out = std::make_unique<std::ostringstream>();
    std::ostringstream* file = out.get();
    bool attached = false;
    for (size_t i = 0; i < size; ++i) {
        const uint8_t b = data[i];
        switch (b % 8) {
            case 0:
            case 1:
            case 2: recorder.simulationStep(); break;
            case 3: recorder.presentationStep(); break;
            case 4: recorder.paint(int32_t(b >> 3), (b & 8) != 0); break;
            case 5: recorder.input(b & 8 ? "char z" : "start"); break;
            case 6: recorder.soundStatus(b >> 5, (b >> 3) & 3); break;
            default:
                if (!attached) {
                    RunRecorder::Target t;
                    t.out = std::move(out);
                    recorder.attach(std::move(t), "sha256:00");
                    attached = true;
                }
        }
    }
    if (!attached) return;
    const int64_t sim = recorder.simulationSteps(), pres = recorder.presentationSteps();
    recorder.flush();
    const std::string text = file->str();
    ParsedScript p;
    try {
        p = parseScript(text);
    } catch (const ScriptError& e) {
        fuzz::fail(std::string("the recorder wrote what the parser refuses: ") + e.what());
    }
    checkParsed(p);
    // Each run line's steps lead to the next anchored line's anchor, the last to the recorder's counts.
    int64_t s = 0, t = 0;
    for (const ScriptCommand& c : p.commands) {
        if (c.simulationSteps != s || c.presentationSteps != t)
            fuzz::fail("a line's anchor is not where the steps led");
        for (const StepToken& k : c.steps) {
            if (k.kind == StepToken::Kind::Simulation)
                s += k.count;
            else if (k.kind == StepToken::Kind::Presentation)
                t += k.count;
        }
    }
    if (s != sim || t != pres) fuzz::fail("the recording holds other step counts than were run");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    if (data[0] & 1)
        record(data + 1, size - 1);
    else
        parseText(std::string(reinterpret_cast<const char*>(data + 1), size - 1));
    return 0;
}
