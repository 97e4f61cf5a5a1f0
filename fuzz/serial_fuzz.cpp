// The serial controller's messages on arbitrary bytes: each line of the
// input is one message to a loaded run, with a simulation step after it. No
// message shows a box, and the handles stay within the train's notches.
#include "fuzz_support.h"
#include "run_fixture.h"

using namespace ts;
using namespace ts::test;

namespace {

const char* kMap =
    "P1XXX\nP2XXX\nP3XXX\nP4XXX\nP5XXX\nP6XXX\nN0XXX\nB1XXX\nB2XXX\nB3XXX\nB4XXX\nB5XXX\nB6XXX\nB7XXX\n"
    "B8XXX\nEBXXX\nRFXXX\nRNXXX\nRBXXX\nSW1XX\nSW2XX\nSW3XX\n#\n";

struct Controller : RunFixture {
    RunHost quiet;
    explicit Controller(int handleType) {
        dir.write("789_line.txt", "");
        dir.write("789_train.txt", "[Handle]\n" + std::to_string(handleType) +
                                       "\n[BrakeType]\n1\n[Brake]\n8\n[Power]\n4\n[Sound_EB]\n3\n[Sound_EBring]\n8\n");
        dir.write("mascon.txt", kMap);
        dir.write("string.txt", "[Forward]\nF\n[Neutral]\nN\n[Reverse]\nR\n[EB]\nEB\n");
        ScopedCwd cwd(dir.path());
        sound.startUp();
        run = std::make_unique<DrivingRun>("789", RunServices{boxes, clock, pictures, sound, video, quiet});
        run->formCreate();
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    Controller c(data[0] % 2);
    const std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    size_t start = 0;
    for (int n = 0; n < 200 && start <= bytes.size(); ++n) {
        size_t end = bytes.find('\n', start);
        if (end == std::string::npos) end = bytes.size();
        c.run->RxChar(bytes.substr(start, end - start));
        c.run->simulationStep();
        start = end + 1;
    }
    fuzz::expectNoMessage(c.boxes.all());
    c.get([](ts::Run& r, PanelModel&) {
        if (r.powerNotch < 0 || r.powerNotch > r.powerNotchCount) fuzz::fail("power notch beyond the handle");
        // Brake notches count down from 0 (released) to -(notches + 1) (emergency).
        if (r.brakeNotch > 0 || r.brakeNotch < -(r.brakeNotchCount + 1)) fuzz::fail("brake notch beyond the handle");
        return 0;
    });
    return 0;
}
