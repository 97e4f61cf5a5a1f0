// Every window the driver opens is in sight: on top of the window it was
// opened from and inside the screen's available area, at every size of the
// driving window and in full screen. Run under Xvfb at 1920 × 1080 and at
// 1366 × 768 (see CMakeLists.txt); without a window manager the windows' own
// state says where they stand and which they belong to.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTest>
#include <QWindow>

#include <cmath>

#include "app_state.h"
#include "driving_window.h"
#include "help_window.h"
#include "qt_timers.h"
#include "recording_message_boxes.h"
#include "report_window.h"
#include "test_support.h"
#include "title_window.h"
#include "value_window.h"
#include "window_fixture.h"
#include "window_placement.h"

using namespace ts;

namespace {

class Placement : public test::WindowFixture {
protected:
    void SetUp() override {
        openWindows(TRAINSIM_DEMO);
        title_->show();
        form_ = title_->createDrivingWindow("789");
        form_->show();
        if (const QScreen* s = form_->screen()) form_->move(s->availableGeometry().center() - form_->rect().center());
        settle();
    }
    static void settle() {
        for (int i = 0; i < 5; ++i) {
            QApplication::processEvents();
            QTest::qWait(20);
        }
    }
    QRect area() const { return (form_ ? form_->screen() : QGuiApplication::primaryScreen())->availableGeometry(); }
    ::testing::AssertionResult onScreen(const QWidget* w) const {
        const QRect g = w->frameGeometry();
        if (area().contains(g)) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure()
               << w->objectName().toStdString() << " at " << g.x() << "," << g.y() << " " << g.width() << "×"
               << g.height() << " leaves the screen's " << area().width() << "×" << area().height();
    }
    QMenu* sizes() const { return form_->findChild<QMenu*>("viewSize"); }
    QAction* sizeItem(const QString& text) const {
        for (QAction* a : sizes()->actions())
            if (a->text() == text) return a;
        return nullptr;
    }
    // The aux windows are transients of the driving window, inside the screen.
    void expectAuxWindowsOnTop() {
        for (AuxWindow w : {AuxWindow::Help, AuxWindow::ValueDisplay}) {
            form_->setShown(w, true);
            settle();
            QWidget* aux = w == AuxWindow::Help ? static_cast<QWidget*>(app().help) : app().valueDisplay;
            ASSERT_TRUE(aux->isVisible());
            ASSERT_NE(aux->windowHandle(), nullptr);
            EXPECT_EQ(aux->windowHandle()->transientParent(), form_->windowHandle()) << "kept above the driving window";
            EXPECT_TRUE(onScreen(aux));
            form_->setShown(w, false);
        }
    }
    void expectClockClearOfBackButton() {
        const QLabel* clock = form_->label("Label3");
        const auto* back = form_->cabView()->findChild<QLabel*>("back");
        ASSERT_NE(clock, nullptr);
        ASSERT_NE(back, nullptr);
        const QRect text(clock->pos(), QSize(clock->fontMetrics().horizontalAdvance(clock->text()), clock->height()));
        EXPECT_FALSE(text.intersects(back->geometry())) << "at scale " << form_->drawnScale();
    }
};

}  // namespace

TEST_F(Placement, EverySizeOfferedFitsAndKeepsTheWindowOnItsScreen) {
    sizes()->popup(QPoint(0, 0));  // the menu checks the sizes as it opens
    settle();
    sizes()->hide();
    int offered = 0;
    for (const char* text : {"1×", "1.5×", "2×", "3×"}) {
        QAction* item = sizeItem(text);
        ASSERT_NE(item, nullptr) << text;
        const double scale = std::stod(std::string(text));
        const QSize need(int(std::ceil(640 * scale)), int(std::ceil(440 * scale)));
        const bool fits = need.width() <= area().width() && need.height() + 20 <= area().height();
        if (!item->isEnabled()) {
            EXPECT_FALSE(fits) << text << " fits but is not offered";
            EXPECT_TRUE(item->toolTip().contains("screen")) << text << ": " << item->toolTip().toStdString();
            continue;
        }
        ++offered;
        item->trigger();
        settle();
        EXPECT_EQ(form_->drawnScale(), scale);
        EXPECT_TRUE(onScreen(form_)) << text;
        expectAuxWindowsOnTop();
        expectClockClearOfBackButton();
        if (scale == 2)
            if (const char* shot = std::getenv("TRAINSIM_SCREENSHOT_DIR"))
                form_->grab().save(QString(shot) +
                                   QString("/driving-2x-%1x%2.png").arg(area().width()).arg(area().height()));
    }
    EXPECT_GE(offered, 2) << "1× and 1.5× fit both screens";
    // Back to 1×: around where it stood, not in the top-left corner.
    sizeItem("1×")->trigger();
    settle();
    EXPECT_TRUE(onScreen(form_));
    EXPECT_GT(form_->frameGeometry().left(), area().left() + 100);
    EXPECT_LT(std::abs(form_->frameGeometry().center().x() - area().center().x()), 50);
}

TEST_F(Placement, FullScreenTakesTheLargestScaleThatFitsAndF11AndEscLeaveIt) {
    QTest::keyClick(form_, Qt::Key_F11);
    settle();
    EXPECT_TRUE(form_->isFullScreen());
    EXPECT_EQ(form_->viewScale(), 0);
    const QRect screen = form_->screen()->geometry();
    const int menu = form_->menuBar()->sizeHint().height();
    const double exact = std::min(screen.width() / 640.0, (screen.height() - menu) / 440.0);
    EXPECT_LE(form_->drawnScale(), exact);
    EXPECT_GT(form_->drawnScale(), exact - 0.02) << "not only whole or half steps";
    EXPECT_EQ(form_->geometry(), screen) << "the whole screen";
    expectAuxWindowsOnTop();
    expectClockClearOfBackButton();
    if (const char* shot = std::getenv("TRAINSIM_SCREENSHOT_DIR"))
        form_->grab().save(QString(shot) + QString("/driving-full-%1x%2.png").arg(screen.width()).arg(screen.height()));
    QTest::keyClick(form_, Qt::Key_Escape);
    settle();
    EXPECT_FALSE(form_->isFullScreen());
    EXPECT_EQ(form_->viewScale(), 1);
    EXPECT_TRUE(onScreen(form_));
    QTest::keyClick(form_, Qt::Key_F11);
    settle();
    EXPECT_TRUE(form_->isFullScreen());
    QTest::keyClick(form_, Qt::Key_F11);
    settle();
    EXPECT_FALSE(form_->isFullScreen()) << "F11 toggles";
}

TEST_F(Placement, TheReportOpensOnTopOfTheTitleScreenInsideTheScreen) {
    form_->close();
    form_ = nullptr;
    DriveReport r;
    r.lineName = "Test";
    r.metres = 100;
    for (int p = 0; p < 300; ++p) {
        ChartPoint c{p, p / 10.0, 30, 0, 0};
        c.km = p / 100.0;
        r.chart.push_back(c);
    }
    scoreReport(r);
    auto* report = new ReportWindow(r);
    showOver(report, title_);
    settle();
    EXPECT_TRUE(report->isVisible());
    EXPECT_TRUE(onScreen(report));
    const QRect t = title_->frameGeometry();
    EXPECT_TRUE(report->frameGeometry().intersects(t)) << "over the title screen, not beside it";
    report->close();
}

TEST_F(Placement, KeyHelpCanBeResized) {
    app().help->show();
    settle();
    EXPECT_LT(app().help->minimumWidth(), app().help->maximumWidth());
    app().help->resize(500, 600);
    settle();
    EXPECT_EQ(app().help->size(), QSize(500, 600));
    const auto* memo = app().help->findChild<QWidget*>("Memo1");
    ASSERT_NE(memo, nullptr);
    EXPECT_GT(memo->width(), 450) << "the text follows the window";
}

int main(int argc, char** argv) {
    // The X server xvfb-run started: real screens, no window manager.
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication qapp(argc, argv);
    QApplication::setApplicationName("Train Simulator");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
