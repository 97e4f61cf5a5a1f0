// Game controllers in the driving window: hot-plug with the status line, the
// Controller menu's item and the mapping dialog with its live display,
// calibration and Save. SDL's virtual gamepad stands in for hardware.
#include <gtest/gtest.h>

#include <SDL.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <filesystem>

#include "app_state.h"
#include "controls/pad_file.h"
#include "driving_window.h"
#include "help_window.h"
#include "pad_dialog.h"
#include "qt_timers.h"
#include "recording_message_boxes.h"
#include "test_support.h"
#include "title_window.h"
#include "value_window.h"
#include "window_fixture.h"

using namespace ts;

namespace {

// The device index of a connected joystick's instance id, or -1.
int deviceIndexOf(SDL_JoystickID id) {
    for (int i = 0; i < SDL_NumJoysticks(); ++i)
        if (SDL_JoystickGetDeviceInstanceID(i) == id) return i;
    return -1;
}

class VirtualGamepad {
public:
    VirtualGamepad() {
        index_ = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 6, 15, 0);
        if (index_ >= 0) joystick_ = SDL_JoystickOpen(index_);
    }
    ~VirtualGamepad() { detach(); }
    bool ok() const { return joystick_; }
    void detach() {
        if (!joystick_) return;
        const int id = SDL_JoystickInstanceID(joystick_);
        SDL_JoystickClose(joystick_);
        joystick_ = nullptr;
        SDL_JoystickDetachVirtual(deviceIndexOf(id));
    }
    void trigger(int axis, int value) {
        SDL_JoystickSetVirtualAxis(joystick_, axis, Sint16(std::clamp(2 * value - 32768, -32768, 32767)));
    }

private:
    int index_ = -1;
    SDL_Joystick* joystick_ = nullptr;
};

class PadWindow : public test::WindowFixture {
protected:
    void SetUp() override {
        // A data folder of its own: Save writes gamepad.txt into it.
        for (const auto& e : std::filesystem::directory_iterator(TRAINSIM_FIXTURES "/basic"))
            std::filesystem::copy(e.path(), dir_.path() / e.path().filename());
        openWindows(dir_.path());
    }
    int handles(TForm1* form) {
        return form->run().locked([](ts::Run& r, PanelModel&) { return r.powerNotch * 100 - r.brakeNotch; });
    }
    test::TempDir dir_;
};

}  // namespace

TEST_F(PadWindow, HotPlugDrivesTheRunAndSaysSoInTheStatusLine) {
    TForm1* form = title_->createDrivingWindow("789");
    form->show();
    ASSERT_NE(form->padDevices(), nullptr);
    // The Controller menu: the serial unit's items, then the game controller's.
    QMenu* ctl = form->findChild<QMenu*>("Controller1");
    ASSERT_NE(ctl, nullptr);
    ASSERT_EQ(ctl->actions().size(), 5);
    EXPECT_EQ(ctl->actions()[3]->objectName(), "Connect1");
    EXPECT_EQ(ctl->actions()[4]->text(), "Game controller…");
    form->start1Click();

    auto pad = std::make_unique<VirtualGamepad>();
    ASSERT_TRUE(pad->ok()) << SDL_GetError();
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->gamePad().connected(); }, 10000));
    EXPECT_TRUE(form->statusText().startsWith("Game controller connected: ")) << form->statusText().toStdString();
    EXPECT_EQ(form->centralWidget()->size(), QSize(640, 440));
    EXPECT_EQ(handles(form), 8) << "connecting moves no handle";
    pad->trigger(gamepad::LeftTrigger, 32767);
    QTest::qWait(50);
    pad->trigger(gamepad::LeftTrigger, 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return handles(form) == 0; }, 10000));
    pad->trigger(gamepad::RightTrigger, 32767);
    ASSERT_TRUE(QTest::qWaitFor([&] { return handles(form) == 500; }, 10000));
    EXPECT_EQ(form->label("PowerLabel")->text(), "P5");
    if (const char* shot = std::getenv("TRAINSIM_SCREENSHOT_DIR"))
        form->grab().save(QString(shot) + "/driving-window-pad.png");
    pad->detach();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form->gamePad().connected(); }, 10000));
    EXPECT_TRUE(form->statusText().contains("disconnected")) << form->statusText().toStdString();
    EXPECT_TRUE(form->statusText().contains("The handles stay where they are."));
    EXPECT_EQ(handles(form), 500);
    form->close();
}

TEST_F(PadWindow, DialogShowsLivePositionsCalibratesAndSaves) {
    TForm1* form = title_->createDrivingWindow("789");
    form->show();
    VirtualGamepad pad;
    ASSERT_TRUE(pad.ok());
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->gamePad().connected(); }, 10000));
    pad.trigger(gamepad::RightTrigger, 20000);  // (0.61 - 0.05) / 0.9 x 6 = 3.7: P3
    pad.trigger(gamepad::LeftTrigger, 0);

    auto ranges = form->run().locked([](ts::Run& r, PanelModel&) { return handleRanges(r, r.brakeNotchCount); });
    PadDialog live(form, form->padDevices(), ranges);
    live.show();
    auto* axes = live.findChild<QTableWidget*>("axes");
    ASSERT_NE(axes, nullptr);
    ASSERT_EQ(axes->rowCount(), 6);
    ASSERT_TRUE(QTest::qWaitFor([&] { return axes->item(5, 7)->text() == "P3"; }, 10000))
        << axes->item(5, 7)->text().toStdString();
    EXPECT_EQ(axes->item(4, 7)->text(), "N");
    EXPECT_EQ(axes->item(0, 7)->text(), "") << "an axis that moves nothing shows nothing";
    EXPECT_NE(live.findChild<QComboBox*>("devices")->currentText().indexOf("("), -1);

    // Calibrate: the right trigger only travels 4000 … 28000.
    auto* calibrate = live.findChild<QPushButton*>("calibrate");
    calibrate->click();
    for (int v : {4000, 16000, 28000, 20000}) {
        pad.trigger(gamepad::RightTrigger, v);
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return std::abs(form->padDevices()->sdl().axisValue(form->padDevices()->active(), 5) - v) <= 1; },
            10000));
        QTest::qWait(80);  // the dialog reads every 50 ms
    }
    calibrate->click();
    QTest::qWait(80);
    if (const char* shot = std::getenv("TRAINSIM_SCREENSHOT_DIR"))
        live.grab().save(QString(shot) + "/game-controller.png");
    EXPECT_NEAR(axes->item(5, 2)->text().toInt(), 4000, 2);
    EXPECT_NEAR(axes->item(5, 3)->text().toInt(), 28000, 2);
    ASSERT_TRUE(live.save());
    std::vector<std::string> problems;
    const auto saved = loadPadMappings(".", &problems);
    EXPECT_TRUE(problems.empty());
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(saved[0].guid, form->gamePad().mapping().guid);
    ASSERT_NE(saved[0].axis(5), nullptr);
    EXPECT_NEAR(saved[0].axis(5)->min, 4000, 2);
    EXPECT_EQ(saved[0].buttons, defaultGamepadMapping().buttons);
    live.close();
    form->close();
}

// A hand-edited gamepad.txt with a form feed line, CR CR LF and numbers no
// controller reports: the controller connects, the dialog names the skipped
// lines, and Save keeps every byte it did not write.
TEST_F(PadWindow, AHandEditedFileWithOddLinesConnectsOpensAndSavesAroundThem) {
    const std::string hand =
        "\xEF\xBB\xBF# kept by hand\r\n[0300aa]\r\n\f\r\nbutton 3 horn\r\r\n\r\n"
        "[0300bb]\r\naxis 1 power min -2147483648 max 2147483647\r\nhat 536870912 up horn\r\n";
    std::ofstream(kPadMappingFile, std::ios::binary) << hand;
    TForm1* form = title_->createDrivingWindow("789");
    form->show();
    VirtualGamepad pad;
    ASSERT_TRUE(pad.ok());
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->gamePad().connected(); }, 10000));

    auto ranges = form->run().locked([](ts::Run& r, PanelModel&) { return handleRanges(r, r.brakeNotchCount); });
    PadDialog dialog(form, form->padDevices(), ranges);
    dialog.show();
    auto* skipped = dialog.findChild<QLabel*>("skipped");
    ASSERT_NE(skipped, nullptr);
    EXPECT_TRUE(skipped->isVisible());
    EXPECT_TRUE(skipped->text().contains("gamepad.txt line 7: cannot read the axis entry"))
        << skipped->text().toStdString();
    EXPECT_TRUE(skipped->text().contains("gamepad.txt line 8: cannot read the hat entry"))
        << skipped->text().toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog.findChild<QTableWidget*>("axes")->rowCount() == 6; }, 10000));
    if (const char* shot = std::getenv("TRAINSIM_SCREENSHOT_DIR"))
        dialog.grab().save(QString(shot) + "/game-controller-skipped-lines.png");
    ASSERT_TRUE(dialog.save());
    const std::string saved = test::slurpFile(kPadMappingFile);
    EXPECT_EQ(saved.substr(0, hand.size()), hand) << "every byte before the new section stays";
    EXPECT_NE(saved.find("\r\n[" + form->gamePad().mapping().guid + "]\r\n"), std::string::npos) << saved;
    dialog.close();
    form->close();
}
