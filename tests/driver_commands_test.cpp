// The input devices' meaning as driver commands: what a key, a notch or a
// controller message asks for, before any rule of the run applies.
#include <gtest/gtest.h>

#include "controls/driver_commands.h"

using namespace ts;
using K = DriverCommand::Kind;

namespace {
std::vector<K> kinds(const DriverInput& in) {
    std::vector<K> out;
    for (const auto& c : in.commands) out.push_back(c.kind);
    return out;
}
}  // namespace

TEST(DriverCommands, TheHandleTypePicksTheHandleOfAKey) {
    TrainData one, two, other;
    one.handleType = ts::HandleType::Combined;
    two.handleType = ts::HandleType::Separate;
    other.handleType = ts::HandleType(2);
    EXPECT_EQ(kinds(commandsForCharacter('z', one)), std::vector<K>{K::CombinedUp});
    EXPECT_EQ(kinds(commandsForCharacter('z', two)), std::vector<K>{K::PowerUp});
    EXPECT_TRUE(commandsForCharacter('z', other).commands.empty());
    EXPECT_EQ(kinds(commandsForCharacter('a', one)), std::vector<K>{K::CombinedDownKey});
    EXPECT_TRUE(commandsForCharacter(',', one).commands.empty()) << "no separate brake handle";
    EXPECT_TRUE(commandsForCharacter('q', two).commands.empty());
    // The keypad works on either handle type.
    EXPECT_EQ(kinds(commandsForCharacter('8', two)), std::vector<K>{K::CombinedUp});
    EXPECT_EQ(kinds(commandsForCharacter('2', two)), std::vector<K>{K::CombinedDownKeypad});
    EXPECT_EQ(commandsForCharacter('b', one).commands.at(0), (DriverCommand{K::Reverser, -1}));
    EXPECT_EQ(commandsForCharacter('x', one).source, InputSource::Character);
    EXPECT_TRUE(commandsForCharacter('x', one).commands.empty());
}

TEST(DriverCommands, FunctionKeysNeedShiftOnlyForTheTrialAdjustments) {
    ShiftState none, shift;
    shift.shift = true;
    ShiftState shiftCtrl = shift;
    shiftCtrl.ctrl = true;
    EXPECT_EQ(kinds(commandsForKey(Key::F1, none)), std::vector<K>{K::Timetable});
    EXPECT_EQ(kinds(commandsForKey(Key::F1, shift)), (std::vector<K>{K::RecordedSpeed, K::Timetable}));
    EXPECT_EQ(commandsForKey(Key::F2, shift).commands.at(0).value, 0);
    EXPECT_EQ(kinds(commandsForKey(Key::F2, shift)), (std::vector<K>{K::RecordedSpeed, K::ValueDisplay}));
    EXPECT_TRUE(commandsForKey(Key::F10, shiftCtrl).commands.empty()) << "exactly Shift";
    EXPECT_EQ(commandsForKey(Key::F9, shift).commands.at(0), (DriverCommand{K::TrialClock, -900}));
    EXPECT_EQ(commandsForKey(Key::F5, shift).commands.at(0), (DriverCommand{K::TrialPosition, -100}));
    EXPECT_EQ(commandsForKey(Key::F5, shift).source, InputSource::FunctionKey);
}

TEST(DriverCommands, ControllerMessagesAreBoundedByTheTrainAndMatchedOnFiveCharacters) {
    std::vector<std::string> codes = {"P1XXX", "P2XXX", "P3XXX", "P4XXX", "P5XXX", "P6XXX", "N0XXX", "B1XXX",
                                      "B2XXX", "B3XXX", "B4XXX", "B5XXX", "B6XXX", "B7XXX", "B8XXX", "EBXXX",
                                      "RFXXX", "RNXXX", "RBXXX", "SW1XX", "SW2XX", "SW3XX"};
    TrainData t;
    t.powerNotchCount = 4;
    auto one = [&](const std::string& m) { return commandsForControllerMessage(m, codes, t, 5).commands; };
    EXPECT_EQ(one("P6XXX").at(0), (DriverCommand{K::ControllerPosition, 4, 0, false})) << "six notches held at four";
    EXPECT_EQ(one("B8XXXtrailing").at(0), (DriverCommand{K::ControllerPosition, 0, -5, false}));
    EXPECT_EQ(one("EBXXX").at(0), (DriverCommand{K::ControllerPosition, 0, -5, true}));
    EXPECT_EQ(one("RBXXX").at(0), (DriverCommand{K::ControllerReverser, -1}));
    EXPECT_EQ(one("SW2XX").at(0).kind, K::PostHorn);
    EXPECT_TRUE(one("B8XX").empty());
    // An entry means what its place in the map means: a code listed twice does both, in order.
    codes[20] = "SW1XX";
    EXPECT_EQ(kinds(commandsForControllerMessage("SW1XX", codes, t, 5)), (std::vector<K>{K::PostSpace, K::PostHorn}));
    // A short map leaves the other entries empty: a real message matches none of them.
    EXPECT_EQ(kinds(commandsForControllerMessage("P1XXX", {"P1XXX"}, t, 5)), std::vector<K>{K::ControllerPosition});
    EXPECT_TRUE(commandsForControllerMessage("N0XXX", {"P1XXX"}, t, 5).commands.empty());
}
