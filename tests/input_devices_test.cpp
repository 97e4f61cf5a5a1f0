// The command layer's one entry and devices registered by their word: what
// they refuse, and a registered device's input on a whole run, recorded as a
// line that the drive script's parser gives back to the same translation.
#include <gtest/gtest.h>

#include <sstream>

#include "drive_script.h"
#include "run/input_devices.h"
#include "run_fixture.h"
#include "wave_writer.h"

using namespace ts;
using namespace ts::test;

namespace {

// A foot pedal of two switches: "up" and "down" step the combined handle as
// the wheel does, "horn" sounds the horn.
bool pedalAccepts(const std::string& a) { return a == "up" || a == "down" || a == "horn"; }
DriverInput pedalCommands(const std::string& a, const ts::Run&) {
    using K = DriverCommand::Kind;
    const K kind = a == "up" ? K::CombinedUp : a == "down" ? K::CombinedDownWheel : K::Horn;
    return {InputSource::Wheel, {{kind, 0, 0, false}}};
}
const bool kPedalRegistered = registerInputDevice({"test-pedal", pedalAccepts, pedalCommands});

const std::string kCombined = "[Handle]\n0\n[BrakeType]\n1\n[Brake]\n8\n[Power]\n4\n[Sound_Horn]\n4\n";

struct Pedal : RunFixture {
    std::ostringstream* recording = nullptr;
    Pedal() {
        // Channels 0 .. 4 hold drive sounds, so that the horn's channel plays.
        std::string drive = "[DriveSound]\n";
        for (int i = 0; i <= 4; ++i) drive += dir.write("d" + std::to_string(i) + ".wav", sineWave(200, 1.0)) + "\n";
        load("", kCombined + drive + "#\n");
        RunRecorder::Target target;
        auto out = std::make_unique<std::ostringstream>();
        recording = out.get();
        target.out = std::move(out);
        target.finish = [] { return std::string(); };
        EXPECT_TRUE(run->startRecording(std::move(target), "sha256:00"));
        run->start1Click();
    }
    int brake() {
        return get([](ts::Run& r, PanelModel&) { return r.brakeNotch; });
    }
    // The recording's input lines as the parser reads them back.
    std::vector<ScriptCommand> recorded() {
        EXPECT_EQ(run->finishRecording(), "");
        std::vector<ScriptCommand> inputs;
        for (const ScriptCommand& c : parseScript(recording->str()).commands)
            if (c.kind == ScriptCommand::Kind::Device) inputs.push_back(c);
        return inputs;
    }
};

}  // namespace

TEST(InputDevices, RegistrationRefusesTakenWordsBadWordsAndMissingFunctions) {
    ASSERT_TRUE(kPedalRegistered);
    EXPECT_FALSE(registerInputDevice({"test-pedal", pedalAccepts, pedalCommands})) << "a word twice";
    EXPECT_FALSE(registerInputDevice({"char", pedalAccepts, pedalCommands})) << "the script's own command";
    EXPECT_FALSE(registerInputDevice({"pad", pedalAccepts, pedalCommands}));
    EXPECT_FALSE(registerInputDevice({"two words", pedalAccepts, pedalCommands}));
    EXPECT_FALSE(registerInputDevice({"", pedalAccepts, pedalCommands}));
    EXPECT_FALSE(registerInputDevice({"test-lever", nullptr, pedalCommands}));
    EXPECT_FALSE(registerInputDevice({"test-lever", pedalAccepts, nullptr}));
    EXPECT_EQ(findInputDevice("test-lever"), nullptr) << "nothing refused was kept";
    ASSERT_NE(findInputDevice("test-pedal"), nullptr);
    EXPECT_EQ(findInputDevice("test-pedal")->word, "test-pedal");
    EXPECT_EQ(findInputDevice("Test-Pedal"), nullptr) << "script words are exact";
}

TEST(InputDevices, TheScriptParserTakesARegisteredWordWithArgumentsTheDeviceAccepts) {
    const auto commands = parseScript("@0 start\n@100 test-pedal horn\n").commands;
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_EQ(commands[1].kind, ScriptCommand::Kind::Device);
    EXPECT_EQ(commands[1].text, "test-pedal");
    EXPECT_EQ(commands[1].arguments, "horn");
    try {
        parseScript("@0 start\n@100 test-pedal sideways\n");
        FAIL() << "arguments the device refuses are a script error";
    } catch (const ScriptError& e) {
        EXPECT_EQ(e.line, 2);
    }
    EXPECT_THROW(parseScript("@0 test-lever up\n"), ScriptError) << "an unregistered word stays unknown";
}

TEST(InputDevices, ADeviceInputIsDispatchedAsDriverInputAndRecordedAsItsLine) {
    Pedal f;
    const InputDevice& pedal = *findInputDevice("test-pedal");
    ASSERT_EQ(f.brake(), -8);
    f.ops();
    EXPECT_TRUE(deviceInput(*f.run, pedal, "up"));
    EXPECT_TRUE(deviceInput(*f.run, pedal, "up"));
    EXPECT_EQ(f.brake(), -6);
    EXPECT_EQ(f.get([](ts::Run&, PanelModel& p) { return p.labels["BrakeLabel"]; }), "B6")
        << "the read-outs are refreshed as after any driver input";
    EXPECT_TRUE(deviceInput(*f.run, pedal, "down"));
    EXPECT_EQ(f.brake(), -7);
    EXPECT_TRUE(deviceInput(*f.run, pedal, "horn"));
    const auto ops = f.ops();
    EXPECT_NE(std::find(ops.begin(), ops.end(), "4:play"), ops.end()) << "the horn sounded";

    EXPECT_FALSE(deviceInput(*f.run, pedal, "sideways")) << "arguments the device refuses";
    EXPECT_FALSE(deviceInput(*f.run, pedal, "up\n@0 close")) << "a line end would forge a script line";
    EXPECT_EQ(f.brake(), -7) << "a refused input changes nothing";

    const auto lines = f.recorded();
    ASSERT_EQ(lines.size(), 4u) << "one line per input taken, none for the refused ones";
    EXPECT_EQ(lines[0].arguments, "up");
    EXPECT_EQ(lines[2].arguments, "down");
    EXPECT_EQ(lines[3].arguments, "horn");
    EXPECT_LT(lines[0].line, lines[3].line);
}

TEST(InputDevices, TheCommandEntryTranslatesUnderTheLockFromTheRunAsItStands) {
    RunFixture f;
    f.load("", kCombined);
    f.run->start1Click();
    f.set([](ts::Run& r, PanelModel&) { r.ebDeviceIdleTicks = 50; });
    int seenBrake = 0;
    f.run->dispatch("", [&](const ts::Run& r, PanelModel& panel) {
        seenBrake = r.brakeNotch;
        panel.valueDisplayCaption = "pedal";
        return DriverInput{InputSource::Wheel, {{DriverCommand::Kind::CombinedUp, 0, 0, false}}};
    });
    EXPECT_EQ(seenBrake, -8);
    EXPECT_EQ(f.get([](ts::Run& r, PanelModel&) { return r.brakeNotch; }), -7);
    EXPECT_EQ(f.get([](ts::Run& r, PanelModel&) { return r.ebDeviceIdleTicks; }), 0) << "the common start ran";
    EXPECT_EQ(f.get([](ts::Run&, PanelModel& p) { return p.valueDisplayCaption; }), "pedal");
    // A game controller's input without commands is no driver input: no common start.
    f.set([](ts::Run& r, PanelModel&) { r.ebDeviceIdleTicks = 50; });
    f.run->dispatch("", [](const ts::Run&, PanelModel&) { return DriverInput{InputSource::Pad, {}}; });
    EXPECT_EQ(f.get([](ts::Run& r, PanelModel&) { return r.ebDeviceIdleTicks; }), 50);
}
