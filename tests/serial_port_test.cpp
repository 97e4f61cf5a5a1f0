// The serial controller end to end: a pseudo-terminal pair made by socat, the
// driving window's port opened through its Controller menu handler, and
// controller messages written to the other end.
#include <gtest/gtest.h>

#include <QApplication>
#include <QProcess>
#include <QTest>

#include <fcntl.h>
#include <unistd.h>

#include <random>

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

struct Rig {
    test::TempDir dir;
    QProcess socat;
    int fd = -1;

    bool start() {
        const QString a = QString::fromStdString((dir.path() / "ttyA").string());
        const QString b = QString::fromStdString((dir.path() / "ttyB").string());
        socat.start("socat", {"pty,raw,echo=0,link=" + a, "pty,raw,echo=0,link=" + b});
        for (int i = 0;
             i < 100 && !(std::filesystem::exists(a.toStdString()) && std::filesystem::exists(b.toStdString())); ++i)
            QTest::qWait(20);
        mapPortName("COM1=" + a.toStdString());
        fd = ::open(b.toStdString().c_str(), O_WRONLY | O_NOCTTY);
        return fd >= 0;
    }
    void write(const std::string& bytes) { (void)::write(fd, bytes.data(), bytes.size()); }
    ~Rig() {
        if (fd >= 0) ::close(fd);
        socat.kill();
        socat.waitForFinished(2000);
    }
};

}  // namespace

TEST(SerialPort, ControllerMessagesThroughAPseudoTerminal) {
    Rig rig;
    if (QProcess::execute("socat", {"-V"}) != 0) GTEST_SKIP() << "socat is not installed";
    ASSERT_TRUE(rig.start());
    rig.dir.write("mascon.txt",
                  "P1XXX\nP2XXX\nP3XXX\nP4XXX\nP5XXX\nP6XXX\nN0XXX\nB1XXX\nB2XXX\nB3XXX\nB4XXX\nB5XXX\nB6XXX\nB7XXX\n"
                  "B8XXX\nEBXXX\nRFXXX\nRNXXX\nRBXXX\nSW1XX\nSW2XX\nSW3XX\n#\n");
    rig.dir.write("string.txt", "[EB]\nEB\n");
    rig.dir.write("operation.txt", "Help\n");
    rig.dir.write("789_line.txt", "[StartPos]\n100\n[FrameRate]\n30\n");
    rig.dir.write("789_train.txt", "[Handle]\n0\n[BrakeType]\n1\n[Brake]\n8\n[Power]\n4\n[Tons]\n100\n[Cars]\n2\n");
    test::ScopedCwd cwd(rig.dir.path());
    RecordingMessageBoxes boxes;
    QtTimerFactory timers;
    app().boxes = &boxes;
    app().timers = &timers;
    app().help = new TForm4;
    app().valueDisplay = new TForm3;
    auto* title = new TForm5;
    TForm1* form = title->createDrivingWindow("789");
    form->show();
    auto state = [&] {
        return form->run().locked([](ts::Run& r, PanelModel&) {
            return std::make_tuple(r.powerNotch, r.brakeNotch, r.reverser, r.ebDeviceIdleTicks);
        });
    };
    auto caption = [&] { return app().valueDisplay->windowTitle().toStdString(); };

    form->action("Connect1")->trigger();
    ASSERT_TRUE(form->comPort().isOpen()) << (boxes.all().empty() ? "" : boxes.all().back());
    EXPECT_EQ(boxes.all().back(), "Connect to controller.");

    // Each message is awaited by its caption, the last thing the handler sets.
    auto handled = [&](const std::string& m) { return QTest::qWaitFor([&] { return caption() == m; }, 10000); };
    rig.write("P3XXX");
    ASSERT_TRUE(handled("P3XXX"));
    EXPECT_EQ(state(), std::make_tuple(3, 0, 0, 0));
    // One message split over two writes with a short pause is still one message.
    rig.write("B2X");
    usleep(2000);
    rig.write("XX");
    ASSERT_TRUE(handled("B2XXX"));
    EXPECT_EQ(state(), std::make_tuple(0, -2, 0, 0));
    EXPECT_EQ(caption(), "B2XXX");
    // Two messages with a gap are two messages.
    rig.write("RFXXX");
    ASSERT_TRUE(handled("RFXXX"));
    rig.write("B5XXX");
    ASSERT_TRUE(handled("B5XXX"));
    EXPECT_EQ(state(), std::make_tuple(0, -5, 1, 0));
    EXPECT_EQ(caption(), "B5XXX");
    // A message that matches nothing changes only the caption and the vigilance counter.
    form->run().locked([](ts::Run& r, PanelModel&) { r.ebDeviceIdleTicks = 77; });
    rig.write("zzzzz");
    ASSERT_TRUE(handled("zzzzz"));
    EXPECT_EQ(state(), std::make_tuple(0, -5, 1, 0));
    EXPECT_EQ(caption(), "zzzzz");

    // Random bytes at full speed neither crash the program nor stall its steps.
    form->start1Click();
    const int before = form->run().locked([](ts::Run& r, PanelModel&) { return r.clockTicks; });
    std::mt19937 rng(3);
    auto clock = [&] { return form->run().locked([](ts::Run& r, PanelModel&) { return r.clockTicks; }); };
    QElapsedTimer t;
    t.start();
    // Noise goes on until the step has run 50 times, or a generous deadline passes.
    while (clock() - before < 50 && t.elapsed() < 30000) {
        std::string noise(64, '\0');
        for (auto& ch : noise) ch = char(rng() & 0xFF);
        rig.write(noise);
        QTest::qWait(1);
    }
    EXPECT_GE(clock() - before, 50) << "the 33 ms step kept running";

    const size_t shown = boxes.all().size();
    form->backClick();
    ASSERT_GT(boxes.all().size(), shown);
    EXPECT_EQ(boxes.all()[shown], "Disconnect from controller.") << "the port closes first when the window closes";
    EXPECT_FALSE(form->comPort().isOpen());
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
