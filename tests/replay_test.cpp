// Recording a run in the driving window with real timers, threads and a serial
// controller, and replaying it: in the drive mode, cut short, refused, and
// watched in the window. The replays must reach the recorded run's state.
#include <gtest/gtest.h>

#include <QApplication>
#include <QProcess>
#include <QTest>
#include <QWheelEvent>

#include <fcntl.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "app_state.h"
#include "com_port.h"
#include "drive_runner.h"
#include "driving_window.h"
#include "help_window.h"
#include "qt_timers.h"
#include "recording_message_boxes.h"
#include "replay_watch.h"
#include "test_support.h"
#include "title_window.h"
#include "trace.h"
#include "value_window.h"

using namespace ts;

namespace {

std::string readFile(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// The part of a trace line that is the run and its panel: what follows the
// time and goes up to the windows, whose state the drive mode adds.
std::string runState(const std::string& line) {
    const size_t from = line.find(",\"event\"");
    const size_t to = line.find(",\"windows\"");
    return from == std::string::npos || to == std::string::npos ? std::string() : line.substr(from, to - from);
}

std::string stateOf(TForm1& form) {
    TraceMoment m;
    m.event = "end";
    m.reason = "close";
    m.valueDisplayShown = app().valueDisplay->isVisible();
    return runState(form.run().locked([&](ts::Run& r, PanelModel& p) { return traceLine(m, r, p); }));
}

struct SerialRig {
    test::TempDir dir;
    QProcess socat;
    int fd = -1;
    bool start() {
        const QString a = QString::fromStdString((dir.path() / "ttyA").string());
        const QString b = QString::fromStdString((dir.path() / "ttyB").string());
        socat.start("socat", {"pty,raw,echo=0,link=" + a, "pty,raw,echo=0,link=" + b});
        (void)QTest::qWaitFor(
            [&] { return std::filesystem::exists(a.toStdString()) && std::filesystem::exists(b.toStdString()); },
            10000);
        mapPortName("COM1=" + a.toStdString());
        fd = ::open(b.toStdString().c_str(), O_WRONLY | O_NOCTTY);
        return fd >= 0;
    }
    void write(const std::string& bytes) { (void)!::write(fd, bytes.data(), bytes.size()); }
    ~SerialRig() {
        if (fd >= 0) ::close(fd);
        socat.kill();
        socat.waitForFinished(2000);
    }
};

// A recording replayed in the drive mode; it names its train itself.
test::DriveResult replay(const std::string& text, const std::string& extra = {}) {
    return test::drive(TRAINSIM_DEMO, "", text, extra);
}

class Replay : public ::testing::Test {
protected:
    // One recorded drive for every case: it takes over 20 s of real time.
    static void SetUpTestSuite() {
        if (QProcess::execute("socat", {"-V"}) != 0) return;
        dir_ = new test::TempDir;
        record();
    }
    static void TearDownTestSuite() {
        delete dir_;
        dir_ = nullptr;
    }
    void SetUp() override {
        if (!dir_) GTEST_SKIP() << "socat is not installed";
        ASSERT_FALSE(recordedState_.empty()) << "the recorded drive did not finish";
    }

    static std::filesystem::path recording() { return dir_->path() / "drive.txt"; }

    static void record();
    static test::TempDir* dir_;
    static std::string recordedState_;
    static qint64 recordedMs_;
};

test::TempDir* Replay::dir_ = nullptr;
std::string Replay::recordedState_;
qint64 Replay::recordedMs_ = 0;

void Replay::record() {
    SerialRig rig;
    if (!rig.start()) return;
    test::ScopedCwd cwd(TRAINSIM_DEMO);
    RecordingMessageBoxes boxes;
    QtTimerFactory timers;
    app().boxes = &boxes;
    app().timers = &timers;
    app().help = new TForm4;
    app().valueDisplay = new TForm3;
    auto* title = new TForm5;
    app().title = title;
    app().recordTo = recording().string();
    TForm1* form = title->createDrivingWindow("789");
    form->show();
    form->action("Connect1")->trigger();
    EXPECT_TRUE(form->comPort().isOpen());

    auto steps = [&] { return form->run().locked([](ts::Run& r, PanelModel&) { return r.clockTicks; }); };
    auto caption = [&] { return app().valueDisplay->windowTitle().toStdString(); };
    auto wheel = [&](int dy) {
        QWheelEvent e(QPointF(100, 100), form->mapToGlobal(QPointF(100, 100)), QPoint(), QPoint(0, dy), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(form, &e);
    };
    // Inputs land wherever the timers happen to be: each waits for a number of steps, never for a time.
    auto after = [&](int n) {
        const int from = steps();
        EXPECT_TRUE(QTest::qWaitFor([&] { return steps() - from >= n; }, 30000));
    };
    auto serial = [&](const std::string& m) {
        rig.write(m);
        EXPECT_TRUE(QTest::qWaitFor([&] { return caption() == m; }, 30000)) << m;
    };
    QElapsedTimer wall;
    wall.start();
    QTest::keyClick(form, Qt::Key_Z);  // locked before Start: recorded all the same
    form->action("start1")->trigger();
    QTest::keyClick(form, Qt::Key_F);
    after(7);
    serial("P2XXX");
    after(13);
    wheel(-120);
    after(5);
    QTest::keyClick(form, Qt::Key_Z);
    after(29);
    serial("N0XXX");
    after(3);
    QTest::keyClick(form, Qt::Key_A);
    after(11);
    // A pause with input in it.
    form->action("start1")->trigger();
    QTest::keyClick(form, Qt::Key_8);
    serial("B3XXX");
    form->action("start1")->trigger();
    after(17);
    form->stationClick(1);
    after(9);
    serial("RFXXX");
    QTest::keyClick(form, Qt::Key_F8, Qt::ShiftModifier);
    after(4);
    serial("P4XXX");
    for (int k = 0; wall.elapsed() < 21000; ++k) {
        after(3 + k % 11);
        switch (k % 5) {
            case 0: wheel(k % 2 ? 120 : -120); break;
            case 1: QTest::keyClick(form, k % 3 ? Qt::Key_Z : Qt::Key_A); break;
            case 2: serial(k % 4 ? "P3XXX" : "B1XXX"); break;
            case 3: QTest::keyClick(form, Qt::Key_Space); break;
            default: serial("SW1XX"); break;  // posts a key through the window's queue
        }
    }
    after(6);
    form->backClick();
    recordedMs_ = wall.elapsed();
    recordedState_ = stateOf(*form);
    delete form;
    delete title;
    delete app().help;
    delete app().valueDisplay;
    app() = AppState{};
}

std::string lastLine(const test::DriveResult& r) { return r.lines.empty() ? std::string() : r.lines.back(); }

}  // namespace

TEST_F(Replay, DriveModeReachesTheRecordedStateAndTwoReplaysAreIdentical) {
    const auto first = replay(readFile(recording()));
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(test::field(lastLine(first), "reason"), "close");
    EXPECT_EQ(runState(lastLine(first)), recordedState_) << "every traced variable as the recorded run left it";
    EXPECT_GE(recordedMs_, 20000);
    const auto second = replay(readFile(recording()));
    EXPECT_EQ(second.trace, first.trace);
    // The recording holds what the drive needed: a jump, the pause, the three devices.
    const std::string text = readFile(recording());
    for (const char* s : {" jump 1\n", " serial B3XXX\n", " wheel down\n", " char z\n", " start\n", " key shift+F8\n"})
        EXPECT_NE(text.find(s), std::string::npos) << s;
}

TEST_F(Replay, ACutRecordingReplaysUpToItsEnd) {
    const std::string text = readFile(recording());
    // Cut in the middle of a line, wherever the half falls in this recording.
    size_t half = text.size() / 2;
    while (half > 1 && text[half - 1] == '\n') --half;
    const std::string cut = text.substr(0, half);
    ASSERT_NE(cut.back(), '\n');
    const auto whole = replay(readFile(recording()));
    const auto part = replay(cut);
    ASSERT_EQ(part.status, 0) << part.err;
    EXPECT_NE(part.err.find("cut off"), std::string::npos) << part.err;
    EXPECT_EQ(test::field(lastLine(part), "reason"), "script");
    // Up to where it ends the cut recording goes as the whole one did.
    ASSERT_GT(part.lines.size(), 20u);
    ASSERT_LT(part.lines.size(), whole.lines.size());
    for (size_t k = 0; k + 1 < part.lines.size(); ++k) ASSERT_EQ(part.lines[k], whole.lines[k]) << "trace line " << k;
    // As many 100 ms steps as its whole lines hold.
    size_t presentation = 0;
    for (const auto& l : part.lines) presentation += test::field(l, "event") == "step";
    const std::string whole_lines = cut.substr(0, cut.rfind('\n') + 1);
    const size_t lastLine = whole_lines.rfind("\n@step ", whole_lines.size() - 2);
    const std::string anchor = whole_lines.substr(lastLine + 7, whole_lines.find(' ', lastLine + 7) - lastLine - 7);
    EXPECT_GE(presentation, std::stoul(anchor.substr(anchor.find('/') + 1)));
}

TEST_F(Replay, BadLinesOtherTrainsAndChangedDataAreRefused) {
    std::string text = readFile(recording());
    size_t at = 0;
    for (int k = 0; k < 9; ++k) at = text.find('\n', at) + 1;
    // Line 10 keeps its anchor and says something no recording says.
    const std::string anchor = text.substr(at, text.find(' ', at + 6) - at);
    const auto bad = replay(text.substr(0, at) + anchor + " run s x3\n" + text.substr(text.find('\n', at) + 1));
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.err.find("script line 10: bad step 'x3'"), std::string::npos) << bad.err;

    const auto other = test::drive(TRAINSIM_DEMO, "40", text);
    EXPECT_EQ(other.status, 2);
    EXPECT_NE(other.err.find("of train 789, not 40"), std::string::npos) << other.err;

    const size_t hash = text.find("data sha256:") + 12;
    text[hash] = text[hash] == '0' ? '1' : '0';
    const auto changed = replay(text);
    EXPECT_EQ(changed.status, 2);
    EXPECT_NE(changed.err.find("changed since the recording"), std::string::npos) << changed.err;
    const auto forced = replay(text, "--force");
    EXPECT_EQ(forced.status, 0) << forced.err;
    EXPECT_EQ(runState(lastLine(forced)), recordedState_);
}

TEST_F(Replay, WatchedInTheWindowItReachesTheRecordedState) {
    test::ScopedCwd cwd(TRAINSIM_DEMO);
    RecordingMessageBoxes boxes;
    QtTimerFactory real;
    HeldTimers timers(real);
    app().boxes = &boxes;
    app().timers = &timers;
    app().startPainter = false;
    app().help = new TForm4;
    app().valueDisplay = new TForm3;
    auto* title = new TForm5;
    app().title = title;
    TForm1* form = title->createDrivingWindow("789");
    {
        ReplayWatch watch(*form, parseScript(readFile(recording())).commands, timers);
        form->show();
        watch.setSpeed(4);
        watch.start();
        const auto presentation = [&] {
            return form->run().locked([](ts::Run& r, PanelModel&) { return r.presentationTicks; });
        };
        ASSERT_TRUE(QTest::qWaitFor([&] { return presentation() > 40; }, 60000));
        EXPECT_TRUE(watch.overlayText().startsWith("Replay 4×")) << watch.overlayText().toStdString();
        if (const char* shots = std::getenv("TRAINSIM_SHOT_DIR"))
            form->grab().save(QString(shots) + "/replay-watch.png", "PNG");
        ASSERT_TRUE(QTest::qWaitFor([&] { return watch.finished(); }, 120000));
        EXPECT_TRUE(form->run().closed()) << "the recording ends with its close";
        EXPECT_EQ(stateOf(*form), recordedState_);
    }
    delete form;
    delete title;
    delete app().help;
    delete app().valueDisplay;
    app() = AppState{};
}

TEST_F(Replay, TakingOverStopsTheReplayAndTheRunGoesOnLive) {
    test::ScopedCwd cwd(TRAINSIM_DEMO);
    RecordingMessageBoxes boxes;
    QtTimerFactory real;
    HeldTimers timers(real);
    app().boxes = &boxes;
    app().timers = &timers;
    app().startPainter = false;
    app().help = new TForm4;
    app().valueDisplay = new TForm3;
    auto* title = new TForm5;
    app().title = title;
    TForm1* form = title->createDrivingWindow("789");
    {
        ReplayWatch watch(*form, parseScript(readFile(recording())).commands, timers);
        form->show();
        watch.setSpeed(2);
        watch.start();
        const auto clock = [&] { return form->run().locked([](ts::Run& r, PanelModel&) { return r.clockTicks; }); };
        const int begin = clock();
        ASSERT_TRUE(QTest::qWaitFor([&] { return clock() - begin > 60; }, 60000));
        QTest::keyClick(form, Qt::Key_5);  // the driver's own key takes over
        EXPECT_TRUE(watch.live());
        EXPECT_EQ(form->run().locked([](ts::Run& r, PanelModel&) { return r.powerNotch; }), 0);
        const int handed = clock();
        EXPECT_TRUE(QTest::qWaitFor([&] { return clock() - handed > 30; }, 30000)) << "the real timers run on";
        EXPECT_FALSE(watch.finished());
        form->close();
    }
    delete form;
    delete title;
    delete app().help;
    delete app().valueDisplay;
    app() = AppState{};
}

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qapp(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
