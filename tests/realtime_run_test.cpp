// A demo train in the real driving window with its real timers: the 33 ms
// step on its thread and the view painter live, while keys, wheel notches and
// serial controller messages arrive, a station jump, and the close. Run under
// ThreadSanitizer by scripts/tsan.sh; any race there ends the run.
#include <gtest/gtest.h>

#include <QApplication>
#include <QProcess>
#include <QTest>
#include <QWheelEvent>

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "app_state.h"
#include "com_port.h"
#include "driving_window.h"
#include "help_window.h"
#include "qt_timers.h"
#include "recording_message_boxes.h"
#include "test_support.h"
#include "title_window.h"
#include "value_window.h"

using namespace ts;

namespace {

std::string demoFolder() {
    const char* dir = std::getenv("TRAINSIM_DEMO_DIR");
    return dir && *dir ? dir : TRAINSIM_DEMO;
}

}  // namespace

TEST(RealTimeRun, DemoTrainTakesEveryInputWhileBothStepsAndThePainterRun) {
    if (QProcess::execute("socat", {"-V"}) != 0) GTEST_SKIP() << "socat is not installed";
    test::TempDir ports;
    const QString a = QString::fromStdString((ports.path() / "ttyA").string());
    const QString b = QString::fromStdString((ports.path() / "ttyB").string());
    QProcess socat;
    socat.start("socat", {"pty,raw,echo=0,link=" + a, "pty,raw,echo=0,link=" + b});
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(a) && QFile::exists(b); }, 10000));
    mapPortName("COM1=" + a.toStdString());
    const int device = ::open(b.toStdString().c_str(), O_WRONLY | O_NOCTTY);
    ASSERT_GE(device, 0);
    auto send = [&](const std::string& m) { ASSERT_EQ(::write(device, m.data(), m.size()), ssize_t(m.size())); };

    ASSERT_TRUE(std::filesystem::exists(demoFolder() + "/789_train.txt")) << demoFolder();
    test::ScopedCwd cwd(demoFolder());
    RecordingMessageBoxes boxes;
    QtTimerFactory timers;
    app().boxes = &boxes;
    app().timers = &timers;
    app().help = new TForm4;
    app().valueDisplay = new TForm3;
    auto* title = new TForm5;
    TForm1* form = title->createDrivingWindow("789");
    form->show();
    auto get = [&](auto f) { return form->run().locked([&](ts::Run& r, PanelModel&) { return f(r); }); };
    auto clock = [&] { return get([](ts::Run& r) { return r.clockTicks; }); };
    auto brake = [&] { return get([](ts::Run& r) { return r.brakeNotch; }); };
    auto power = [&] { return get([](ts::Run& r) { return r.powerNotch; }); };
    auto caption = [&] { return app().valueDisplay->windowTitle().toStdString(); };

    form->action("Connect1")->trigger();
    ASSERT_TRUE(form->comPort().isOpen());
    form->start1Click();
    const int started = clock();
    const int64_t paintedBefore = form->run().framesPainted();

    // Input arrives while the steps run: every wait is on the run's own state.
    QTest::keyClick(form, Qt::Key_F2);  // the value display, repainted every 100 ms step
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(form, Qt::Key_8);
        QTest::qWait(40);
    }
    const int braked = brake();
    QWheelEvent up(QPointF(100, 100), form->mapToGlobal(QPointF(100, 100)), QPoint(), QPoint(0, -120), Qt::NoButton,
                   Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(form, &up);
    EXPECT_EQ(brake(), braked + 1) << "a wheel notch toward the driver releases one brake notch";
    send("N0XXX");
    EXPECT_TRUE(QTest::qWaitFor([&] { return caption() == "N0XXX"; }, 10000));
    EXPECT_EQ(brake(), 0);
    send("P2XXX");
    EXPECT_TRUE(QTest::qWaitFor([&] { return caption() == "P2XXX" && power() == 2; }, 10000));
    send("RFXXX");
    EXPECT_TRUE(QTest::qWaitFor([&] { return caption() == "RFXXX"; }, 10000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return clock() - started >= 30; }, 30000)) << "the 33 ms step ran meanwhile";

    // A station jump while running moves the clock to the station's departure.
    form->stationClick(1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return clock() > started + 900; }, 10000));
    const int jumped = clock();
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return clock() > jumped + 10 && form->run().framesPainted() > paintedBefore; }, 30000))
        << "steps and painting go on after the jump";
    send("B3XXX");
    EXPECT_TRUE(QTest::qWaitFor([&] { return caption() == "B3XXX" && brake() == -3; }, 10000));

    form->backClick();
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->run().closed(); }, 10000));
    EXPECT_FALSE(form->comPort().isOpen());
    for (const auto& text : boxes.all())
        EXPECT_TRUE(text == "Connect to controller." || text == "Disconnect from controller.") << text;
    ::close(device);
    socat.kill();
    socat.waitForFinished(2000);
    delete form;
    delete title;
    delete app().help;
    delete app().valueDisplay;
    app() = AppState{};
}

TEST(RealTimeRun, SerialDeviceVanishingWhileConnectedLeavesTheRunDriving) {
    if (QProcess::execute("socat", {"-V"}) != 0) GTEST_SKIP() << "socat is not installed";
    test::TempDir ports;
    const QString a = QString::fromStdString((ports.path() / "ttyA").string());
    const QString b = QString::fromStdString((ports.path() / "ttyB").string());
    QProcess socat;
    socat.start("socat", {"pty,raw,echo=0,link=" + a, "pty,raw,echo=0,link=" + b});
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(a) && QFile::exists(b); }, 10000));
    mapPortName("COM1=" + a.toStdString());

    ASSERT_TRUE(std::filesystem::exists(demoFolder() + "/789_train.txt")) << demoFolder();
    test::ScopedCwd cwd(demoFolder());
    RecordingMessageBoxes boxes;
    QtTimerFactory timers;
    app().boxes = &boxes;
    app().timers = &timers;
    app().help = new TForm4;
    app().valueDisplay = new TForm3;
    auto* title = new TForm5;
    TForm1* form = title->createDrivingWindow("789");
    form->show();
    auto clock = [&] { return form->run().locked([](ts::Run& r, PanelModel&) { return r.clockTicks; }); };
    form->action("Connect1")->trigger();
    ASSERT_TRUE(form->comPort().isOpen());
    form->start1Click();
    // The device goes away: both ends of the pseudo-terminal disappear.
    socat.kill();
    socat.waitForFinished(5000);
    const int gone = clock();
    EXPECT_TRUE(QTest::qWaitFor([&] { return clock() - gone >= 30; }, 30000)) << "the steps go on without the device";
    QTest::keyClick(form, Qt::Key_8);
    form->backClick();
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->run().closed(); }, 10000));
    EXPECT_FALSE(form->comPort().isOpen());
    delete form;
    delete title;
    delete app().help;
    delete app().valueDisplay;
    app() = AppState{};
}
