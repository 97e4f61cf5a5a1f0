#include "run_fixture.h"

namespace ts::test {

void RunFixture::load(const std::string& line, const std::string& train) {
    dir.write("789_line.txt", line);
    dir.write("789_train.txt", train);
    dir.write("mascon.txt", "#\n");
    dir.write("string.txt",
              "[Forward]\nF\n[Neutral]\nN\n[Reverse]\nR\n[Neut]\nrel\n[Neut2]\noff\n[EB]\nEB\n[Hold2]\nhold\n");
    ScopedCwd cwd(dir.path());
    sound.startUp();
    run = std::make_unique<DrivingRun>("789", RunServices{boxes, clock, pictures, sound, video, host});
    try {
        run->formCreate();
    } catch (const FatalError&) {
        fatal = true;
    }
}

std::vector<std::string> RunFixture::ops() {
    std::vector<std::string> out;
    for (const auto& o : sound.takeOps()) out.push_back(std::to_string(o.channel) + ":" + o.op);
    return out;
}

void RunFixture::advanceTo(int64_t t) {
    while (auto due = clock.nextDue()) {
        if (*due > t) break;
        clock.setNow(*due);
        clock.runDue({});
    }
    clock.setNow(t);
}

}  // namespace ts::test
