// A device registered by its word in the driving window: a drive script's or
// a replay's line reaches the run through the window as the device's own
// input does, a live-link client may send it, and the replay names it.
#include <gtest/gtest.h>

#include <QApplication>

#include "app_state.h"
#include "driving_window.h"
#include "help_window.h"
#include "link_protocol.h"
#include "recording_message_boxes.h"
#include "run/input_devices.h"
#include "script_input.h"
#include "test_support.h"
#include "title_window.h"
#include "value_window.h"
#include "virtual_clock.h"

using namespace ts;

namespace {

bool lever(const std::string& a) { return a == "up" || a == "down"; }
DriverInput leverCommands(const std::string& a, const ts::Run&) {
    using K = DriverCommand::Kind;
    return {InputSource::Wheel, {{a == "up" ? K::CombinedUp : K::CombinedDownWheel, 0, 0, false}}};
}
const bool kRegistered = registerInputDevice({"test-window-lever", lever, leverCommands});

class DeviceWindow : public ::testing::Test {
protected:
    void SetUp() override {
        cwd_ = std::make_unique<test::ScopedCwd>(TRAINSIM_DEMO);
        app().boxes = &boxes_;
        app().timers = &timers_;
        app().help = new TForm4;
        app().valueDisplay = new TForm3;
        title_ = new TForm5;
        app().title = title_;
        form_ = title_->createDrivingWindow("789");
        form_->show();
        QApplication::processEvents();
    }
    void TearDown() override {
        if (form_) form_->close();
        delete title_;
        delete app().help;
        delete app().valueDisplay;
        delete app().current;
        app() = AppState{};
        cwd_.reset();
    }
    int brake() {
        return form_->run().locked([](ts::Run& r, PanelModel&) { return r.brakeNotch; });
    }
    RecordingMessageBoxes boxes_;
    VirtualClock timers_;
    TForm5* title_ = nullptr;
    TForm1* form_ = nullptr;
    std::unique_ptr<test::ScopedCwd> cwd_;
};

}  // namespace

TEST_F(DeviceWindow, AScriptLineOfARegisteredDeviceDrivesTheRunThroughTheWindow) {
    ASSERT_TRUE(kRegistered);
    const auto script = parseScript("@0 start\n@100 test-window-lever up\n@200 test-window-lever down\n").commands;
    ASSERT_EQ(script.size(), 3u);
    applyScriptInput(*form_, script[0]);
    const int before = brake();
    ASSERT_LT(before, 0) << "the run starts braked";
    applyScriptInput(*form_, script[1]);
    EXPECT_EQ(brake(), before + 1);
    applyScriptInput(*form_, script[2]);
    EXPECT_EQ(brake(), before);
    EXPECT_EQ(describeInput(script[1], HandleType::Combined), "test-window-lever up");

    form_->deviceInput("test-window-lever", "sideways");
    form_->deviceInput("no-such-device", "up");
    EXPECT_EQ(brake(), before) << "a refused input and an unknown word change nothing";
}

TEST_F(DeviceWindow, ALiveLinkClientMaySendARegisteredDevicesLine) {
    const LinkRequest ok = parseLinkRequest(R"({"type":"command","command":"test-window-lever up"})");
    ASSERT_EQ(ok.kind, LinkRequest::Kind::Command) << ok.error;
    EXPECT_EQ(ok.command.kind, ScriptCommand::Kind::Device);
    EXPECT_EQ(ok.command.arguments, "up");
    const LinkRequest refused = parseLinkRequest(R"({"type":"command","command":"test-window-lever sideways"})");
    EXPECT_EQ(refused.kind, LinkRequest::Kind::Invalid);
}
