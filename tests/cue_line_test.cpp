// What the run says only by sound is shown over the view: the cue line's
// texts from the run's state, and the driving window showing each state and
// clearing it when the state ends (demo data, offscreen platform).
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QTest>

#include <functional>

#include "app_state.h"
#include "cue_line.h"
#include "driving_window.h"
#include "help_window.h"
#include "recording_message_boxes.h"
#include "test_support.h"
#include "title_window.h"
#include "value_window.h"
#include "virtual_clock.h"
#include "window_fixture.h"

using namespace ts;

TEST(CueText, DoorsMelodyAndCallOutInWords) {
    RouteData route;
    route.stationTable.resize(2);
    StationState st;
    EXPECT_EQ(doorCue(route, st), DoorCue::None);
    st.stationArrived[1] = 1;
    st.doorsOpen = 1;
    st.doorOpenCommand = 1;
    EXPECT_EQ(doorCue(route, st), DoorCue::None) << "doors open, melody not yet played";
    st.stationDepartureSoundPlayed[1] = 1;
    EXPECT_EQ(doorCue(route, st), DoorCue::Melody);
    st.stationDeparted[1] = 1;
    EXPECT_EQ(doorCue(route, st), DoorCue::None) << "a conductor closes the doors";
    route.oneManOperation = 1;
    EXPECT_EQ(doorCue(route, st), DoorCue::CloseTheDoors);
    st.doorOpenCommand = 0;
    EXPECT_EQ(doorCue(route, st), DoorCue::DoorsClosing);
    st.doorsOpen = 0;
    EXPECT_EQ(doorCue(route, st), DoorCue::None);

    CueState s;
    s.door = DoorCue::Melody;
    s.oneMan = true;
    EXPECT_EQ(cueText(s), "Departure melody: close the doors (d) when it ends");
    CallOut c;
    c.kind = CallOut::Signal;
    c.aspect = AspectClass::Y;
    s.callOut = c;
    EXPECT_EQ(cueText(s), "Call-out: signal at caution") << "the newest cue first";
    s.releaseHintShown = true;
    EXPECT_EQ(cueText(s), "") << "the release hint has the line";
}

namespace {

class Cues : public test::WindowFixture {
protected:
    void SetUp() override { openWindows(TRAINSIM_DEMO, &clock_); }
    void open(const std::string& code) {
        form_ = title_->createDrivingWindow(code);
        form_->show();
        form_->run().simulationStep();
        form_->paintRoutine();
        QApplication::processEvents();
    }
    void set(const std::function<void(ts::Run&)>& f) {
        form_->run().locked([&](ts::Run& r, PanelModel&) { f(r); });
        form_->refresh();
        form_->paintRoutine();
        QApplication::processEvents();
    }
    QString line() const {
        const QLabel* l = form_->cues()->line();
        return l->isVisibleTo(form_) ? l->text() : QString();
    }
    void shot(const char* name) const {
        if (const char* dir = std::getenv("TRAINSIM_SCREENSHOT_DIR"))
            form_->grab().save(QString(dir) + "/cue-" + name + ".png");
    }
    VirtualClock clock_;  // the steps run only when a test says so: the state is the test's
};

}  // namespace

TEST_F(Cues, TheWindowShowsEachStateAndClearsItWhenItEnds) {
    open("789");
    form_->start1Click();  // running
    form_->start1Click();  // paused
    EXPECT_TRUE(form_->cues()->pausedOverlay()->isVisibleTo(form_));
    EXPECT_TRUE(form_->cues()->pausedOverlay()->text().contains("take effect when it resumes"));
    shot("paused");
    form_->start1Click();  // running again
    EXPECT_FALSE(form_->cues()->pausedOverlay()->isVisibleTo(form_));

    // 港南: the melody plays with the doors open.
    set([](ts::Run& r) {
        r.stationArrived[0] = 1;
        r.doorsOpen = 1;
        r.doorOpenCommand = 1;
        r.stationDepartureSoundPlayed[0] = 1;
    });
    EXPECT_EQ(line(), "Departure melody: the doors close when it ends");
    shot("melody");
    set([](ts::Run& r) {
        r.stationDeparted[0] = 1;
        r.doorOpenCommand = 0;
    });
    EXPECT_EQ(line(), "Doors closing");
    shot("doors-closing");
    set([](ts::Run& r) { r.doorsOpen = 0; });
    EXPECT_EQ(line(), "") << "gone when the doors have closed";
    EXPECT_FALSE(form_->cues()->line()->isVisibleTo(form_));

    // The call-out key: its answer for three seconds of the run's clock.
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    form_->forwardKey(&enter);
    form_->refresh();
    EXPECT_TRUE(line().startsWith("Call-out: ")) << line().toStdString();
    shot("callout");
    set([](ts::Run& r) { r.clockTicks += 91; });
    EXPECT_EQ(line(), "");

    // Away from the platform, 320 m before the next stop mark.
    set([](ts::Run& r) {
        r.stationArrived[0] = 0;
        r.trainPosition = 1100;
        r.stopDistance = 32000;
    });
    const QLabel* distance = form_->cues()->distance();
    EXPECT_TRUE(distance->isVisibleTo(form_));
    EXPECT_EQ(distance->text(), "Stop mark 320 m");
    EXPECT_FALSE(distance->toolTip().isEmpty()) << "the red tick explained";
    shot("distance");
    set([](ts::Run& r) { r.stopDistance = 60000; });
    EXPECT_FALSE(distance->isVisibleTo(form_)) << "only within 500 m";
}

TEST_F(Cues, OneManDoorsAndTheConfirmationChime) {
    open("40");
    form_->start1Click();
    set([](ts::Run& r) {
        r.stationArrived[0] = 1;
        r.doorsOpen = 1;
        r.doorOpenCommand = 1;
        r.stationDepartureSoundPlayed[0] = 1;
        r.stationDeparted[0] = 1;
    });
    EXPECT_EQ(line(), "The melody has ended: close the doors (d)");
    shot("close-the-doors");
    set([](ts::Run& r) {
        r.doorsOpen = 0;
        r.doorOpenCommand = 0;
        r.atsBellRinging = 1;
    });
    EXPECT_EQ(line(), "") << "the bell's release hint has the place";
    EXPECT_TRUE(form_->hintLine()->isVisibleTo(form_));
    shot("bell");
    set([](ts::Run& r) {
        r.atsBellRinging = 0;
        r.atsConfirmed = 1;
    });
    EXPECT_EQ(line(), "Train protection: alarm confirmed");
    shot("chime");
    set([](ts::Run& r) { r.clockTicks += 91; });
    EXPECT_EQ(line(), "");
}
