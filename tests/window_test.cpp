// The windows under the offscreen platform: title screen, picking a train,
// the driving window's Start/pause and closing, the help window.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

#include "app_state.h"
#include "driving_window.h"
#include "help_window.h"
#include "qt_timers.h"
#include "recording_message_boxes.h"
#include "test_support.h"
#include "title_window.h"
#include "value_window.h"
#include "window_fixture.h"

using namespace ts;

namespace {

class Windows : public test::WindowFixture {
protected:
    void SetUp() override { openWindows(TRAINSIM_FIXTURES "/basic"); }
};

}  // namespace

TEST_F(Windows, TitleAnimationEndsAtTargetPositions) {
    title_->show();
    EXPECT_TRUE(title_->animating());
    EXPECT_EQ(title_->element("Train1")->x(), 640);
    EXPECT_EQ(title_->element("Quit")->y(), 638);
    QTest::qWait(1000);
    EXPECT_TRUE(title_->animating());
    // 19 ticks of 100 ms end the animation; allow for a busy machine.
    for (int i = 0; i < 40 && title_->animating(); ++i) QTest::qWait(100);
    EXPECT_FALSE(title_->animating());
    EXPECT_EQ(title_->element("Train1")->x(), 330);
    EXPECT_EQ(title_->element("Train2")->x(), 330);
    EXPECT_EQ(title_->element("Quit")->pos(), QPoint(584, 448));
    EXPECT_EQ(title_->element("HELP")->pos(), QPoint(512, 448));
    EXPECT_FALSE(title_->element("loading")->isVisible());
}

TEST_F(Windows, PickingATrainRunsTheDrivingWindowAndReturns) {
    title_->show();
    QTest::qWait(150);
    std::vector<std::string> seen;
    int heightWhileLoaded = 0;
    bool loadingShown = false;
    QTimer::singleShot(50, [&] {
        TForm1* form = app().current;
        ASSERT_NE(form, nullptr);
        heightWhileLoaded = title_->height();
        loadingShown = title_->element("loading")->isVisibleTo(title_);
        EXPECT_FALSE(title_->isVisible());
        EXPECT_TRUE(form->isVisible());
        EXPECT_EQ(form->centralWidget()->size(), QSize(640, 440));
        EXPECT_EQ(form->windowTitle(), "Train Simulator");
        QAction* start = form->action("start1");
        seen.push_back(start->text().toStdString());
        EXPECT_EQ(form->run().locked([](ts::Run& r, PanelModel&) { return int(r.inputLocked); }), 1);
        for (int i = 0; i < 3; ++i) {
            start->trigger();
            seen.push_back(start->text().toStdString());
            seen.push_back(form->run().running() ? "running" : "paused");
        }
        EXPECT_EQ(form->run().locked([](ts::Run& r, PanelModel&) { return int(r.inputLocked); }), 0);
        EXPECT_EQ(form->label("Label1")->text(), "中立") << "the reverser starts in neutral";
        QTest::mouseClick(form->findChild<QLabel*>("back"), Qt::LeftButton);
    });
    QTest::mouseClick(title_->element("Train2"), Qt::LeftButton);
    // The modal run has ended here.
    EXPECT_EQ(title_->trainCode(), "40");
    EXPECT_EQ(heightWhileLoaded, 498);
    EXPECT_TRUE(loadingShown);
    EXPECT_EQ(seen, (std::vector<std::string>{"Start", "一時停止(&S)", "running", "運転再開(&S)", "paused",
                                              "一時停止(&S)", "running"}));
    EXPECT_TRUE(title_->isVisible());
    EXPECT_EQ(title_->height(), 480);
    EXPECT_FALSE(title_->element("loading")->isVisibleTo(title_));
    EXPECT_FALSE(title_->animating());
    EXPECT_EQ(title_->element("Train1")->x(), 330);
    ASSERT_NE(app().current, nullptr);
    EXPECT_FALSE(app().current->isVisible());
    EXPECT_TRUE(app().current->run().closed());
    EXPECT_FALSE(app().current->run().running());
    EXPECT_EQ(title_->element("Label1")->text().toStdString(), "環境をセットアップしています");
    EXPECT_TRUE(boxes_.all().empty());
}

TEST_F(Windows, SecondPickCreatesASecondWindowAndKeepsTheFirstHidden) {
    std::vector<TForm1*> forms;
    auto closeSoon = [&] {
        QTimer::singleShot(30, [&] {
            forms.push_back(app().current);
            app().current->backClick();
        });
    };
    closeSoon();
    title_->Train1Click();
    closeSoon();
    title_->Train1Click();
    ASSERT_EQ(forms.size(), 2u);
    EXPECT_NE(forms[0], forms[1]);
    EXPECT_FALSE(forms[0]->isVisible());
    EXPECT_EQ(app().current, forms[1]);
    delete forms[0];
}

TEST_F(Windows, RealKeyAndWheelEventsReachTheHandlers) {
    TForm1* form = title_->createDrivingWindow("789");
    form->show();
    auto brake = [&] { return form->run().locked([](ts::Run& r, PanelModel&) { return r.brakeNotch; }); };
    auto position = [&] { return form->run().locked([](ts::Run& r, PanelModel&) { return r.trainPosition; }); };
    QTest::keyClick(form, Qt::Key_8);
    EXPECT_EQ(brake(), -8) << "locked until Start";
    form->start1Click();
    QTest::keyClick(form, Qt::Key_8);
    EXPECT_EQ(brake(), -7);
    EXPECT_EQ(form->label("BrakeLabel")->text(), "B7");
    QTest::keyClick(form, Qt::Key_8, Qt::KeypadModifier);
    EXPECT_EQ(brake(), -6) << "keypad digits type their character";
    const int start = position();
    QTest::keyClick(form, Qt::Key_F8, Qt::ShiftModifier);
    EXPECT_EQ(position(), start + 1000);
    QTest::keyClick(form, Qt::Key_F8, Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_EQ(position(), start + 1000);
    // Key events of the value-display window go to the driving window.
    QTest::keyClick(app().valueDisplay, Qt::Key_8);
    EXPECT_EQ(brake(), -5);
    QTest::keyClick(app().help, Qt::Key_F2);
    EXPECT_TRUE(app().valueDisplay->isVisible()) << "F2 shows the value display";
    QTest::keyClick(form, Qt::Key_F2);
    EXPECT_FALSE(app().valueDisplay->isVisible());

    auto wheel = [&](int dy) {
        QWheelEvent e(QPointF(100, 100), form->mapToGlobal(QPointF(100, 100)), QPoint(), QPoint(0, dy), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(form, &e);
    };
    wheel(-120);
    EXPECT_EQ(brake(), -4) << "toward the user: notch up";
    wheel(60);
    EXPECT_EQ(brake(), -4) << "half a notch does nothing yet";
    wheel(60);
    EXPECT_EQ(brake(), -5);
    wheel(360);
    wheel(360);
    EXPECT_EQ(brake(), -8) << "the wheel reaches EB";
    form->close();
}

TEST_F(Windows, RealTimersRunBothStepsWhileInputArrives) {
    TForm1* form = title_->createDrivingWindow("789");
    form->show();
    auto clock = [&] { return form->run().locked([](ts::Run& r, PanelModel&) { return r.clockTicks; }); };
    auto ticks = [&] { return form->run().locked([](ts::Run& r, PanelModel&) { return r.presentationTicks; }); };
    const int start = clock();
    form->start1Click();
    for (int i = 0; i < 10; ++i) {
        QTest::keyClick(form, i % 2 ? Qt::Key_8 : Qt::Key_2);
        QTest::qWait(60);
    }
    // Both steps run on real timers: wait for them rather than for a fixed time.
    EXPECT_TRUE(QTest::qWaitFor([&] { return clock() - start >= 12 && ticks() >= 4; }, 10000));
    form->start1Click();
    const int paused = clock();
    EXPECT_GE(paused - start, 12) << "the 33 ms step ran on its own thread";
    EXPECT_GE(ticks(), 4) << "the 100 ms step ran";
    QTest::qWait(150);
    EXPECT_EQ(clock(), paused) << "nothing moves while paused";
    form->start1Click();
    QTest::qWait(100);
    form->close();
    EXPECT_TRUE(form->run().closed());
    EXPECT_FALSE(form->run().running());
}

TEST_F(Windows, HelpWindowTakesCaptionFromFirstLine) {
    EXPECT_EQ(app().help->windowTitle(), "Keys");
    EXPECT_EQ(app().help->memo()->toPlainText(), "Z / A : power up / down");
    EXPECT_EQ(app().help->size(), QSize(227, 331));
}

TEST(HelpWindow, OneLineFileGivesEmptyMemoAndMissingFileAMessage) {
    test::TempDir dir;
    RecordingMessageBoxes boxes;
    app().boxes = &boxes;
    {
        dir.write("operation.txt", "Only caption\r\n");
        test::ScopedCwd cwd(dir.path());
        TForm4 help;
        EXPECT_EQ(help.windowTitle(), "Only caption");
        EXPECT_TRUE(help.memo()->toPlainText().isEmpty());
    }
    {
        test::TempDir empty;
        test::ScopedCwd cwd(empty.path());
        TForm4 help;
        EXPECT_EQ(help.windowTitle(), "Help");
        EXPECT_TRUE(help.memo()->toPlainText().isEmpty());
        ASSERT_EQ(boxes.all().size(), 1u);
        EXPECT_NE(boxes.all()[0].find("operation.txt"), std::string::npos);
    }
    app() = AppState{};
}

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qapp(argc, argv);
    QApplication::setApplicationName("Train Simulator");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

TEST(ValueDisplay, FiguresBeyondIntAreHeldAtTheBarsEnd) {
    TForm3 display;
    display.showValues({{"ProgressBar1", "123"}, {"ProgressBar2", "-99999999999"}, {"ProgressBar3", "98000000000"}});
    auto t = display.texts();
    EXPECT_EQ(t["ProgressBar1"], "123");
    EXPECT_EQ(t["ProgressBar2"], "-500000");
    EXPECT_EQ(t["ProgressBar3"], "500000");
    display.showValues({{"ProgressBar1", "99999999999999999999999"}, {"ProgressBar2", "x"}});
    t = display.texts();
    EXPECT_EQ(t["ProgressBar1"], "500000");
    EXPECT_EQ(t["ProgressBar2"], "0");
}
