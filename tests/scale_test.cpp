// The driving window at other sizes and the smooth view, under the offscreen
// platform, on the basic fixture with a video of alternating grey frames.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QTest>
#include <cmath>

#include "app_state.h"
#include "cab_view.h"
#include "driving_window.h"
#include "help_window.h"
#include "qt_timers.h"
#include "recording_message_boxes.h"
#include "test_support.h"
#include "title_window.h"
#include "value_window.h"
#include "video/video_writer.h"
#include "view_blend.h"
#include "window_fixture.h"

using namespace ts;

namespace {

// Even frames dark, odd frames light: a blend of two neighbours is easy to read.
constexpr int kDark = 40, kLight = 200;

class Scaled : public test::WindowFixture {
protected:
    void SetUp() override {
        std::filesystem::copy(TRAINSIM_FIXTURES "/basic", data_.path(), std::filesystem::copy_options::recursive);
        VideoSettings s;
        s.codec = VideoCodec::MJPEG;
        s.quality = 2;
        VideoWriter writer((data_.path() / "video.avi").string(), s);
        ASSERT_TRUE(writer.ok());
        std::vector<uint32_t> px(size_t(kViewWidth) * kViewHeight);
        for (int i = 0; i < 120; ++i) {
            const uint32_t g = i % 2 ? kLight : kDark;
            std::fill(px.begin(), px.end(), 0xFF000000u | g << 16 | g << 8 | g);
            writer.add(px.data());
        }
        ASSERT_TRUE(writer.finish());
        openWindows(data_.path());
    }
    TForm1* open() {
        TForm1* form = title_->createDrivingWindow("789");
        form->show();
        form->run().simulationStep();  // the view moves onto the start position, frame 100
        settle(form);
        return form;
    }
    // Paints until the picture on view is the frame painted (the live window
    // fetches it on its decoder thread).
    static void settle(TForm1* form) {
        QElapsedTimer waited;
        waited.start();
        do {
            form->paintRoutine();
            QApplication::processEvents();
        } while (!form->viewSettled() && waited.elapsed() < 20000);
        EXPECT_TRUE(form->viewSettled());
    }
    // Stands the view on `frame` (outside the video too) without moving the train.
    static void paintAt(TForm1* form, int frame) {
        form->run().locked([&](ts::Run& r, PanelModel&) { r.paintFrame = frame; });
        settle(form);
    }
    // The grey in the middle of the view as a snapshot of the drive mode shows it.
    static int snapshotGrey(TForm1* form) {
        form->paintRoutine();
        form->presentPicture();
        QApplication::processEvents();
        const QImage shot = form->cabView()->grab().toImage();
        return qGray(shot.pixel(shot.width() * 240 / 640, shot.height() * 120 / 440));
    }
    static void moveAt(TForm1* form, int64_t speedKmh, int32_t accumulator) {
        form->run().locked([&](ts::Run& r, PanelModel&) {
            r.speed = speedKmh * 10000;
            r.frameAccumulator = accumulator;
            r.recordedSpeedKmh = 60;
        });
    }
    // Grey level in the middle of the view as drawn.
    static int viewGrey(TForm1* form) {
        settle(form);
        const QImage shot = form->cabView()->grab().toImage();
        return qGray(shot.pixel(shot.width() * 240 / 640, shot.height() * 120 / 440));
    }
    test::TempDir data_;
};

double psnr(const QImage& a, const QImage& b) {
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            for (int d : {qRed(p) - qRed(q), qGreen(p) - qGreen(q), qBlue(p) - qBlue(q)}) sum += double(d) * d;
        }
    const double mse = sum / (3.0 * a.width() * a.height());
    return mse == 0 ? 99 : 10 * std::log10(255.0 * 255.0 / mse);
}

}  // namespace

TEST_F(Scaled, TwiceTheSizeIsLaidOutAndClickedAtTwiceTheCoordinates) {
    app().viewScale = 2;
    TForm1* form = open();
    EXPECT_EQ(form->centralWidget()->size(), QSize(1280, 880));
    EXPECT_EQ(form->cabView()->size(), QSize(1280, 880));
    EXPECT_EQ(form->cabView()->frameSize(), QSize(960, 480)) << "the frame is converted to the shown size";
    auto* back = form->findChild<QLabel*>("back");
    EXPECT_EQ(back->geometry(), QRect(1236, 834, 40, 40));
    EXPECT_EQ(form->label("Label4")->geometry(), QRect(992, 674, 274, 38));
    EXPECT_EQ(form->label("digi_speed")->pos(), QPoint(992, 768));
    EXPECT_EQ(form->label("digi_speed")->font().pixelSize(), 32);
    QTest::mouseClick(back, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    EXPECT_TRUE(form->run().closed()) << "a click where the back button is drawn closes the run";
}

TEST_F(Scaled, DownscaledTwiceSizeIsCloseToTheLayoutAndBackTo1xIsTheSame) {
    TForm1* form = open();
    const QImage one = form->cabView()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(one.size(), QSize(640, 440));
    form->setViewScale(2);
    viewGrey(form);
    const QImage two = form->cabView()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(two.size(), QSize(1280, 880));
    const QImage down = two.scaled(640, 440, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    // About 30 dB here: the difference is the sharper text and edges drawn at 2x.
    EXPECT_GT(psnr(one, down), 27.0);
    form->setViewScale(1);
    viewGrey(form);
    EXPECT_EQ(form->centralWidget()->size(), QSize(640, 440));
    EXPECT_EQ(form->cabView()->grab().toImage().convertToFormat(QImage::Format_RGB32), one)
        << "1x again draws exactly what it drew at first";
    form->close();
}

TEST_F(Scaled, DisplayMenuChoosesSizeAndSmoothView) {
    TForm1* form = open();
    auto* size = form->findChild<QMenu*>("viewSize");
    ASSERT_NE(size, nullptr);
    QStringList texts;
    for (QAction* a : size->actions()) texts << a->text();
    EXPECT_EQ(texts, (QStringList{"1×", "1.5×", "2×", "3×", "Full screen"}));
    EXPECT_TRUE(size->actions()[0]->isChecked());
    size->actions()[1]->trigger();
    EXPECT_EQ(form->viewScale(), 1.5);
    EXPECT_EQ(form->centralWidget()->size(), QSize(960, 660));
    EXPECT_FALSE(size->actions()[0]->isChecked());
    auto* smooth = form->findChild<QAction*>("smoothView");
    ASSERT_NE(smooth, nullptr);
    EXPECT_TRUE(smooth->isChecked()) << "on by default";
    smooth->trigger();
    EXPECT_FALSE(form->smoothView());
    EXPECT_FALSE(app().smoothView) << "the next window takes the choice over";
    // Full screen on the offscreen platform's 800 x 800 screen: 800 / 640 = 1.25 is the largest
    // scale that fits (the height leaves more room), centred.
    size->actions()[4]->trigger();
    EXPECT_EQ(form->viewScale(), 0);
    EXPECT_EQ(form->drawnScale(), 1.25);
    EXPECT_TRUE(form->isFullScreen());
    QApplication::processEvents();
    const QWidget* stage = form->centralWidget();
    EXPECT_EQ(form->cabView()->pos(), QPoint((stage->width() - 800) / 2, (stage->height() - 550) / 2));
    size->actions()[2]->trigger();
    EXPECT_FALSE(form->isFullScreen());
    EXPECT_EQ(form->centralWidget()->size(), QSize(1280, 880));
    form->close();
}

TEST_F(Scaled, SmoothViewBlendsTowardTheNextFrameInTheDirectionOfTravel) {
    TForm1* form = open();
    const int rest = viewGrey(form);
    EXPECT_NEAR(rest, kDark, 4) << "frame 100 at the start";
    moveAt(form, 30, 30);
    EXPECT_NEAR(viewGrey(form), (kDark + kLight) / 2, 6) << "half way to frame 101";
    EXPECT_DOUBLE_EQ(form->cabView()->weight(), 0.5);
    moveAt(form, -30, 15);
    EXPECT_NEAR(viewGrey(form), kDark + (kLight - kDark) / 4, 6) << "a quarter of the way back to frame 99";
    moveAt(form, 60, 30);
    EXPECT_NEAR(viewGrey(form), kDark, 4) << "at the recorded speed whole frames";
    moveAt(form, 0, 30);
    EXPECT_NEAR(viewGrey(form), kDark, 4) << "standing still, the frame as it is";
    moveAt(form, 30, 30);
    form->setSmoothView(false);
    EXPECT_NEAR(viewGrey(form), kDark, 4) << "smooth view off";
    app().viewScale = 2;
    form->setViewScale(2);
    form->setSmoothView(true);
    EXPECT_NEAR(viewGrey(form), (kDark + kLight) / 2, 6) << "the same blend at 2x";
    form->close();
}

TEST_F(Scaled, WithoutBlendingThePictureIsTheWholeFramePixelForPixel) {
    TForm1* form = open();
    auto shot = [&] {
        settle(form);
        return form->cabView()->grab().toImage();
    };
    const QImage rest = shot();
    form->setSmoothView(false);
    EXPECT_EQ(shot(), rest) << "at rest smooth view on and off draw the same";
    moveAt(form, 30, 30);
    EXPECT_EQ(shot(), rest) << "off while moving: the whole frame as without the switch";
    form->setSmoothView(true);
    EXPECT_NE(shot(), rest) << "on while moving: the mix";
    moveAt(form, 60, 0);
    EXPECT_EQ(shot(), rest) << "at the recorded speed whole frames again";
    form->close();
}

// "A position beyond the last frame of the video keeps the last decoded frame
// on view": an index outside the stream leaves the last decompressed frame in use.
TEST_F(Scaled, BeyondEitherEndTheLastDecodedFrameStaysOnView) {
    app().startPainter = false;  // as in the drive mode
    TForm1* form = open();
    ASSERT_NEAR(viewGrey(form), kDark, 4) << "frame 100";
    paintAt(form, 300);
    EXPECT_NEAR(viewGrey(form), kDark, 4) << "beyond the end (the video has 120 frames)";
    form->setViewScale(2);
    EXPECT_NEAR(viewGrey(form), kDark, 4) << "fetched again at the new size: still frame 100, not the last frame 119";
    form->setViewScale(1);
    paintAt(form, 101);
    ASSERT_NEAR(viewGrey(form), kLight, 4);
    paintAt(form, -5);
    EXPECT_NEAR(viewGrey(form), kLight, 4) << "before frame 0";
    form->setViewScale(2);
    EXPECT_NEAR(viewGrey(form), kLight, 4) << "at the new size still frame 101, not frame 0";
    form->setViewScale(1);
    // The drive mode's snapshots fetch their picture only when asked.
    paintAt(form, 100);
    form->deferPictures(true);
    paintAt(form, 300);
    EXPECT_NEAR(snapshotGrey(form), kDark, 4) << "a snapshot beyond the end shows frame 100, not 119";
    form->close();
}

// The smooth view mixes frame n with the next one in the direction of travel,
// but beyond the video there is no next frame to mix, and at its last frame
// running on (or its first running back) there is none either.
TEST_F(Scaled, NoMixWithAFrameOutsideTheVideo) {
    app().startPainter = false;
    TForm1* form = open();
    paintAt(form, 119);
    moveAt(form, 30, 30);
    EXPECT_NEAR(viewGrey(form), kLight, 4) << "the last frame running on: alone";
    paintAt(form, 0);
    moveAt(form, -30, 30);
    EXPECT_NEAR(viewGrey(form), kDark, 4) << "the first frame running back: alone";
    paintAt(form, 101);
    paintAt(form, -1);
    moveAt(form, 30, 30);
    EXPECT_NEAR(viewGrey(form), kLight, 4) << "before frame 0 frame 101's picture stays, not mixed with frame 0";
    EXPECT_EQ(form->cabView()->weight(), 0);
    form->close();
}

// The smooth view "moves the picture at every paint": while the train creeps
// between frames n and n+1 the mix follows its weight although the frame
// number does not change, in the drive mode's snapshots too.
TEST_F(Scaled, SnapshotsFollowTheMixWhileTheFrameStaysTheSame) {
    app().startPainter = false;
    TForm1* form = open();
    form->deferPictures(true);
    moveAt(form, 10, 6);
    EXPECT_NEAR(snapshotGrey(form), kDark + (kLight - kDark) / 10, 6) << "a tenth of the way to frame 101";
    moveAt(form, 10, 54);
    EXPECT_NEAR(snapshotGrey(form), kDark + (kLight - kDark) * 9 / 10, 6) << "nine tenths of the way, same frame";
    moveAt(form, 0, 0);
    EXPECT_NEAR(snapshotGrey(form), kDark, 4) << "standing on the frame";
    form->close();
}

TEST(ViewBlend, WeightIsTheAccumulatorsShareOfTheRecordedSpeed) {
    EXPECT_DOUBLE_EQ(nextFrameWeight(300000, 30, 60, 30), 0.5);
    EXPECT_DOUBLE_EQ(nextFrameWeight(-300000, 45, 60, 30), 0.75);
    EXPECT_EQ(nextFrameWeight(0, 30, 60, 0), 0) << "standing";
    EXPECT_EQ(nextFrameWeight(600000, 30, 60, 60), 0) << "at the recorded speed";
    EXPECT_EQ(nextFrameWeight(900000, 30, 60, 90), 0) << "above it";
    EXPECT_EQ(nextFrameWeight(300000, 0, 60, 30), 0) << "just on a frame";
    EXPECT_EQ(nextFrameWeight(300000, 30, 0, 30), 0) << "no recorded speed";
    EXPECT_LT(nextFrameWeight(300000, 70, 60, 30), 1);
}

TEST(ViewBlend, HalfwayIsTheAverageOfTheTwoFrames) {
    QImage a(64, 32, QImage::Format_RGB32), b(64, 32, QImage::Format_RGB32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x) {
            a.setPixel(x, y, qRgb(x * 4, y * 8, 255 - x * 2));
            b.setPixel(x, y, qRgb(255 - y * 8, x * 3, 17));
        }
    const QImage half = blendedView(a, b, 0.5);
    int worst = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y), m = half.pixel(x, y);
            worst = std::max({worst, std::abs(2 * qRed(m) - qRed(p) - qRed(q)),
                              std::abs(2 * qGreen(m) - qGreen(p) - qGreen(q)),
                              std::abs(2 * qBlue(m) - qBlue(p) - qBlue(q))});
        }
    EXPECT_LE(worst, 4) << "within two levels of the average";
    EXPECT_EQ(blendedView(a, b, 0), a) << "no weight, the frame itself";
}

TEST(ViewScaleOption, AcceptsTheStepsAndFull) {
    EXPECT_EQ(parseViewScale("1"), 1.0);
    EXPECT_EQ(parseViewScale("1.5"), 1.5);
    EXPECT_EQ(parseViewScale("3"), 3.0);
    EXPECT_EQ(parseViewScale("full"), 0.0);
    EXPECT_FALSE(parseViewScale("4"));
    EXPECT_FALSE(parseViewScale(""));
    EXPECT_EQ(parseSmoothView("off"), false);
    EXPECT_FALSE(parseSmoothView("no"));
}
