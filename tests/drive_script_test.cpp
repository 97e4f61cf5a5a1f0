// The drive-mode script, the virtual clock and the trace line.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "drive_script.h"
#include "trace.h"
#include "virtual_clock.h"

using namespace ts;
using K = ScriptCommand::Kind;

TEST(DriveScript, ParsesEveryCommand) {
    const auto cmds = parseDriveScript(
        "# comment\n\n@0 start\r\n@10 char space\n@10 char 8\n@20 key shift+F8\n@30 key Enter\n"
        "@40 wheel down 3\n@40 wheel up\n@50 serial  P5 x\n@60 jump 2\n@70 snapshot a.png\n@80 close\n");
    ASSERT_EQ(cmds.size(), 11u);
    EXPECT_EQ(cmds[0].kind, K::Start);
    EXPECT_EQ(cmds[1].text, " ");
    EXPECT_EQ(cmds[2].text, "8");
    EXPECT_EQ(cmds[3].text, "F8");
    EXPECT_TRUE(cmds[3].shift);
    EXPECT_FALSE(cmds[3].ctrl);
    EXPECT_EQ(cmds[4].text, "Enter");
    EXPECT_EQ(cmds[5].amount, -3);
    EXPECT_EQ(cmds[6].amount, 1);
    EXPECT_EQ(cmds[7].text, " P5 x") << "serial text is the rest after one blank, byte for byte";
    EXPECT_EQ(cmds[8].amount, 2);
    EXPECT_EQ(cmds[9].text, "a.png");
    EXPECT_EQ(cmds[10].kind, K::Close);
    EXPECT_EQ(cmds[10].line, 13);
}

TEST(DriveScript, BadLinesNameTheirLineNumber) {
    const char* bad[] = {"@5 start\n@4 start\n", "start\n",         "@x start\n",   "@1 fly\n",       "@1 key F13\n",
                         "@1 char ab\n",         "@1 wheel left\n", "@1 jump -1\n", "@1 start now\n", "@1 serial\n"};
    for (const char* s : bad) {
        try {
            parseDriveScript(s);
            ADD_FAILURE() << "accepted: " << s;
        } catch (const ScriptError& e) {
            const int expected = std::string(s).rfind("@5", 0) == 0 ? 2 : 1;
            EXPECT_EQ(e.line, expected) << s;
            EXPECT_NE(std::string(e.what()).find("line " + std::to_string(expected)), std::string::npos);
        }
    }
}

TEST(VirtualClock, OwnThreadTicksRunBeforeUiTicksAndPauseRestartsPhase) {
    VirtualClock clock;
    std::vector<std::string> log;
    auto fast = clock.create(33, TimerThread::Own, [&] { log.push_back("33@" + std::to_string(clock.now())); });
    auto slow = clock.create(100, TimerThread::Ui, [&] { log.push_back("100@" + std::to_string(clock.now())); });
    clock.setNow(5);
    slow->start();
    fast->start();
    EXPECT_EQ(clock.nextDue(), 38);
    auto runUntil = [&](int64_t end) {
        while (auto due = clock.nextDue()) {
            if (*due > end) break;
            clock.setNow(*due);
            clock.runDue([&] { log.push_back("paint"); });
        }
    };
    runUntil(105);
    EXPECT_EQ(log, (std::vector<std::string>{"33@38", "paint", "33@71", "paint", "33@104", "paint", "100@105"}));
    log.clear();
    fast->stop();
    slow->stop();
    EXPECT_FALSE(clock.nextDue());
    clock.setNow(200);
    fast->start();
    runUntil(240);
    EXPECT_EQ(log, (std::vector<std::string>{"33@233", "paint"}));
}

TEST(VirtualClock, SameInstantRunsFastStepThenSlowStep) {
    VirtualClock clock;
    std::vector<int> order;
    auto slow = clock.create(100, TimerThread::Ui, [&] { order.push_back(100); });
    auto fast = clock.create(50, TimerThread::Own, [&] { order.push_back(50); });
    slow->start();
    fast->start();
    clock.setNow(50);
    clock.runDue({});
    clock.setNow(100);
    clock.runDue({});
    EXPECT_EQ(order, (std::vector<int>{50, 50, 100}));
}

TEST(Trace, LineHasStateNamesAndJsonEscapes) {
    ts::Run run;
    run.inputLocked = 1;
    run.stopDistance = 12.5L;
    PanelModel panel;
    panel.labels["Label4"] = "駅\"A\"";
    PanelItem signal;
    signal.name = "SignalImage";
    signal.kind = PanelItem::Kind::Slot;
    PanelItem stop = signal;
    stop.name = "stop";
    stop.drawn = 3;
    stop.visible = false;
    PanelItem other;  // unnamed pictures are not traced
    panel.items = {stop, signal, other};
    panel.menu = {{"start1", "Start"}};
    panel.stations = {{"Sta0", "東"}};
    TraceMoment m;
    m.t = 300;
    m.event = "step";
    m.sounds = {{4, "play", std::nullopt}, {5, "volume", -600.0}};
    m.messages = {"x\ny"};
    const std::string line = traceLine(m, run, panel);
    EXPECT_NE(line.find("\"t\":300,\"event\":\"step\""), std::string::npos);
    EXPECT_NE(line.find("\"inputLocked\":1"), std::string::npos);
    EXPECT_NE(line.find("\"stopDistance\":12.5"), std::string::npos);
    EXPECT_NE(line.find("\"Label4\":\"駅\\\"A\\\"\""), std::string::npos);
    EXPECT_NE(line.find("\"images\":{\"SignalImage\":null,\"stop\":3}"), std::string::npos);
    EXPECT_NE(line.find("\"visible\":{\"SignalImage\":1,\"stop\":0}"), std::string::npos);
    EXPECT_NE(line.find("\"stations\":[[\"Sta0\",\"東\"]]"), std::string::npos);
    EXPECT_NE(line.find("\"sounds\":[[4,\"play\"],[5,\"volume\",-600]]"), std::string::npos);
    EXPECT_NE(line.find("\"messages\":[\"x\\ny\"]"), std::string::npos);
    EXPECT_EQ(line.find("valueDisplay"), std::string::npos) << "only while the window is shown";
    EXPECT_EQ(line.find('\n'), std::string::npos);
}

TEST(DriveScript, WheelCountIsBounded) {
    EXPECT_EQ(parseDriveScript("@1 wheel up 1000\n")[0].amount, 1000);
    try {
        parseDriveScript("@1 start\n@2 wheel up 2147483647\n");
        ADD_FAILURE() << "a count of 2^31-1 was accepted";
    } catch (const ScriptError& e) {
        EXPECT_EQ(e.line, 2);
        EXPECT_NE(std::string(e.what()).find("wheel count above 1000"), std::string::npos) << e.what();
    }
}

TEST(DriveScript, RecordingLinesAreAnchoredToSteps) {
    const auto s = parseScript(
        "@step 0/0 recording 1\n@step 0/0 train 789\n@step 0/0 char z\n@step 0/0 run s p=12 s3 t p\n"
        "@step 4/1 sound 29 2 5\n@step 4/1 key mouse+shift+F8\n@step 4/1 serialhex 0a41\n@step 4/1 serialhex\n");
    ASSERT_TRUE(s.anchored);
    ASSERT_EQ(s.commands.size(), 8u);
    EXPECT_EQ(s.commands[1].text, "789");
    const auto& run = s.commands[3].steps;
    ASSERT_EQ(run.size(), 5u);
    EXPECT_EQ(run[1].kind, StepToken::Kind::Paint);
    EXPECT_EQ(run[1].frame, 12);
    EXPECT_EQ(run[2].count, 3);
    EXPECT_EQ(run[3].kind, StepToken::Kind::Presentation);
    EXPECT_EQ(run[4].frame, -1);
    EXPECT_EQ(s.commands[4].amount, 29);
    EXPECT_EQ(s.commands[4].call, 2);
    EXPECT_EQ(s.commands[4].status, 5);
    EXPECT_TRUE(s.commands[5].mouse && s.commands[5].shift);
    EXPECT_EQ(s.commands[6].text, "\nA");
    EXPECT_EQ(s.commands[7].text, "");
    EXPECT_EQ(s.commands[5].presentationSteps, 1);
    EXPECT_EQ(s.cutLine, 0);
}

TEST(DriveScript, ACutRecordingEndsAtItsLastWholeLine) {
    const auto s = parseScript("@step 0/0 start\n@step 0/0 run s3 t\n@step 3/1 run s");
    EXPECT_EQ(s.cutLine, 3);
    EXPECT_EQ(s.commands.size(), 2u);
    // A timed script's last line needs no line end.
    EXPECT_EQ(parseScript("@0 start").commands.size(), 1u);
}

TEST(DriveScript, BadRecordingLinesNameTheirLineNumber) {
    const char* bad[] = {"@step 0/0 start\n@5 start\n",
                         "@5 start\n@step 9/3 start\n",
                         "@step 4 start\n",
                         "@step 4/2 run s\n@step 3/2 start\n",
                         "@step 0/0 run s0\n",
                         "@step 0/0 run p=x\n",
                         "@0 run s\n",
                         "@step 0/0 sound 1 0 5\n",
                         "@step 0/0 recording 2\n",
                         "@step 0/0 serialhex 4\n"};
    for (const char* s : bad) {
        try {
            parseScript(s);
            ADD_FAILURE() << "accepted: " << s;
        } catch (const ScriptError& e) {
            const int lines = int(std::count(s, s + std::strlen(s), '\n'));
            EXPECT_EQ(e.line, lines) << s << " -> " << e.what();
        }
    }
}

TEST(DriveScript, InputLinesRoundTrip) {
    for (const std::string& m : std::vector<std::string>{"B2XXX", " P5 x", "P1 ", "\r\nX", std::string("\0\xff", 2)}) {
        const auto c = parseScript("@step 0/0 " + serialCommand(m) + "\n").commands;
        ASSERT_EQ(c.size(), 1u) << m;
        EXPECT_EQ(c[0].text, m);
    }
    EXPECT_EQ(parseScript("@step 0/0 " + charCommand(' ') + "\n").commands[0].text, " ");
    const auto k = parseScript("@step 0/0 " + keyCommand("F5", true, false, true, false) + "\n").commands[0];
    EXPECT_TRUE(k.shift && k.alt && !k.ctrl && !k.mouse);
    EXPECT_EQ(k.text, "F5");
}

TEST(DriveScript, PadCommands) {
    const auto cmds = parseDriveScript(
        "@0 pad connect\n@0 pad connect 03000000DE280000\n@5 pad axis 5 -32768\n@5 pad axis 4 32767\n"
        "@6 pad button 11 down\n@7 pad button 11 up\n@8 pad disconnect\n");
    ASSERT_EQ(cmds.size(), 7u);
    EXPECT_EQ(cmds[0].kind, K::PadConnect);
    EXPECT_EQ(cmds[0].text, "");
    EXPECT_EQ(cmds[1].text, "03000000DE280000");
    EXPECT_EQ(cmds[2].kind, K::PadAxis);
    EXPECT_EQ(cmds[2].amount, 5);
    EXPECT_EQ(cmds[2].value, -32768);
    EXPECT_EQ(cmds[3].value, 32767);
    EXPECT_EQ(cmds[4].kind, K::PadButton);
    EXPECT_EQ(cmds[4].amount, 11);
    EXPECT_EQ(cmds[4].value, 1);
    EXPECT_EQ(cmds[5].value, 0);
    EXPECT_EQ(cmds[6].kind, K::PadDisconnect);
    for (const char* bad : {"@1 pad\n", "@1 pad axis 5\n", "@1 pad axis 5 32768\n", "@1 pad axis -1 0\n",
                            "@1 pad axis x 0\n", "@1 pad button 3 pressed\n", "@1 pad button 3\n",
                            "@1 pad disconnect now\n", "@1 pad connect a b\n", "@1 pad wiggle\n"})
        EXPECT_THROW(parseDriveScript(bad), ScriptError) << bad;
}
