// The windows a run needs, set up as the program sets them up and taken down
// after each test: a title screen, the key help and the value display, the
// message boxes recorded and Qt's timers, over a data folder that is the
// current folder while the test runs.
#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "driving_window.h"
#include "qt_timers.h"
#include "recording_message_boxes.h"
#include "test_support.h"
#include "title_window.h"

namespace ts::test {

class WindowFixture : public ::testing::Test {
protected:
    // Makes `folder` the current folder and opens the windows, on Qt's timers
    // or on `timers` (a virtual clock); call from SetUp.
    void openWindows(const std::filesystem::path& folder, TimerFactory* timers = nullptr);
    void TearDown() override;

    RecordingMessageBoxes boxes_;
    QtTimerFactory timers_;
    TForm5* title_ = nullptr;
    // A driving window the test opened and keeps: closed before the others go.
    TForm1* form_ = nullptr;
    std::unique_ptr<ScopedCwd> cwd_;
};

}  // namespace ts::test
