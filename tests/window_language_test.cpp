// Every window of the program in Japanese and in English: no English word of
// ours in the Japanese program, no Japanese of ours in the English one. The
// system's own texts (tests/fixtures/fixed_texts.txt) and the data's names
// stand in both. Display > Language retranslates the windows already open.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QTest>
#include <QTimer>
#include <QToolTip>

#include <cstdlib>
#include <functional>

#include "app_state.h"
#include "com_port.h"
#include "driving_window.h"
#include "help_window.h"
#include "install_dialog.h"
#include "language.h"
#include "link_dialog.h"
#include "pad_dialog.h"
#include "readme_window.h"
#include "replay_watch.h"
#include "report/drive_report.h"
#include "report_window.h"
#include "setup_dialog.h"
#include "shown_text_check.h"
#include "title_window.h"
#include "value_window.h"
#include "window_fixture.h"

using namespace ts;

namespace {

// Names of the data and words that stand in either language.
test::ShownTextAllowance allowance() {
    test::ShownTextAllowance a;
    a.texts = test::allowedTextsFrom(TRAINSIM_FIXTURES "/fixed_texts.txt");
    // Each language is offered in its own words.
    a.texts << QStringLiteral("日本語") << QStringLiteral("English");
    // The demo line's names (its data) and those of the sample report.
    for (const char* name :
         {"港南電鉄線 (Konan Line)", "港南", "桜町", "川原", "緑ヶ丘", "港北", "桜ヶ丘線", "桜ヶ丘", "中央"})
        a.texts << QString::fromUtf8(name);
    // The demo's string table: the handles' and the reverser's captions.
    for (const char* word :
         {"前進", "中立", "後進", "停車", "通過", "運転停車", "運転", "切", "常用", "重なり", "保ち", "抑速", "非常"})
        a.texts << QString::fromUtf8(word);
    // Code words, units and names that are the same in Japanese writing.
    a.words = {QStringLiteral("ATS"), QStringLiteral("USB"),   QStringLiteral("HTML"), QStringLiteral("JSON"),
               QStringLiteral("PNG"), QStringLiteral("token"), QStringLiteral("http"), QStringLiteral("km"),
               QStringLiteral("txt"), QStringLiteral("FFmpeg")};
    return a;
}

QString listed(const QStringList& found) { return found.join(QLatin1Char('\n')); }

void expectLanguage(const QWidget* window, Language language, const char* what) {
    const auto shown = test::shownTextsOf(window);
    EXPECT_FALSE(shown.empty()) << what;
    const QStringList found = language == Language::Japanese ? test::englishOfOurs(shown, allowance())
                                                             : test::japaneseOfOurs(shown, allowance());
    EXPECT_TRUE(found.isEmpty()) << what << (language == Language::Japanese ? " (Japanese)" : " (English)") << ":\n"
                                 << listed(found).toStdString();
}

const char* code(Language l) { return l == Language::Japanese ? "ja" : "en"; }

// Saves a picture of the window when TRAINSIM_SCREENSHOT_DIR names a folder.
void shoot(QWidget* w, const QString& name, Language l) {
    if (const char* dir = std::getenv("TRAINSIM_SCREENSHOT_DIR"))
        w->grab().save(QStringLiteral("%1/%2-%3.png").arg(QString::fromLocal8Bit(dir), name, code(l)));
}

// The driving window with one of its menus open over it, as one picture.
void shootWithMenu(QMainWindow* w, QMenu* menu, const QString& name, Language l) {
    const char* dir = std::getenv("TRAINSIM_SCREENSHOT_DIR");
    if (!dir) return;
    QAction* title = menu->menuAction();
    const QPoint at = w->menuBar()->actionGeometry(title).bottomLeft() + w->menuBar()->pos();
    menu->popup(w->mapToGlobal(at));
    QTest::qWait(50);
    QPixmap picture = w->grab();
    QPainter p(&picture);
    p.drawPixmap(at, menu->grab());
    p.end();
    picture.save(QStringLiteral("%1/%2-%3.png").arg(QString::fromLocal8Bit(dir), name, code(l)));
    menu->hide();
}

// A modal dialog's texts, read while it waits for the user, then closed.
void whileModal(const std::function<void()>& open, const std::function<void(QDialog*)>& look) {
    bool looked = false;
    QTimer::singleShot(0, [&] {
        (void)QTest::qWaitFor([] { return qobject_cast<QDialog*>(QApplication::activeModalWidget()) != nullptr; },
                              10000);
        if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            look(d);
            looked = true;
            d->reject();
        }
    });
    open();
    EXPECT_TRUE(looked);
}

DriveReport sampleReport() {
    DriveReport r;
    r.trainCode = "789";
    r.lineName = "桜ヶ丘線";
    r.maxSpeedKmh = 100;
    StationVisit a;
    a.name = "桜ヶ丘";
    a.origin = true;
    a.departedAt = 30 * 60;
    StationVisit b;
    b.index = 1;
    b.name = "中央";
    b.km = 1.2;
    b.stopped = true;
    b.stopErrorMetres = -3.5;
    b.stoppedAt = 30 * 200;
    b.doorsOpenedAt = 30 * 205;
    r.stations = {a, b};
    Overspeed o;
    o.limitKmh = 45;
    o.peakOverKmh = 6;
    o.metres = 120;
    r.overspeeds = {o};
    SafetyEvent e;
    e.kind = SafetyKind::ProtectionAlarm;
    e.confirmed = true;
    e.confirmSeconds = 1.5;
    r.safety = {e};
    r.chart = {{0, 0, 0, 45, 0, 0, false}, {3000, 50, 0, 45, 0, 1.2, false}};
    r.metres = 1200;
    r.runningSeconds = 180;
    // The verdict and the points lost are worded by the core (its own
    // translation); the window's texts around them are what is checked here.
    r.scored = true;
    r.stopsJudged = 1;
    r.score = 84;
    return r;
}

class WindowLanguage : public test::WindowFixture, public ::testing::WithParamInterface<Language> {
protected:
    void SetUp() override {
        useLanguage(GetParam());
        openWindows(TRAINSIM_DEMO);
    }
    void TearDown() override {
        test::WindowFixture::TearDown();
        useLanguage(Language::English);
    }
};

}  // namespace

TEST_P(WindowLanguage, TitleScreenHelpAndValueDisplay) {
    title_->show();
    expectLanguage(title_, GetParam(), "title screen");
    // The buttons in their places once the opening animation (1.9 s) has ended.
    if (std::getenv("TRAINSIM_SCREENSHOT_DIR") && QTest::qWaitFor([&] { return !title_->animating(); }, 10000))
        shoot(title_, QStringLiteral("title"), GetParam());
    // The help window shows the data's operation.txt, its title included: nothing of ours.
    expectLanguage(app().valueDisplay, GetParam(), "value display");
    if (QMenu* others = title_->otherRoutesMenu(); others && !others->actions().isEmpty())
        expectLanguage(others, GetParam(), "other routes");
}

TEST_P(WindowLanguage, DrivingWindowWithItsMenusAndDialogs) {
    form_ = title_->createDrivingWindow("789");
    form_->show();
    expectLanguage(form_, GetParam(), "driving window");
    form_->action("start1")->trigger();  // running: the caption is the system's "一時停止(&S)"
    form_->action("start1")->trigger();  // paused: the overlay and "運転再開(&S)"
    QTest::qWait(200);
    expectLanguage(form_, GetParam(), "driving window, paused");
    shoot(form_, QStringLiteral("driving-paused"), GetParam());
    shootWithMenu(form_, form_->findChild<QMenu*>("Show1"), QStringLiteral("driving-display-menu"), GetParam());
    shootWithMenu(form_, form_->findChild<QMenu*>("Controller1"), QStringLiteral("driving-controller-menu"),
                  GetParam());

    auto ranges = form_->run().locked([](ts::Run& r, PanelModel&) { return handleRanges(r, r.brakeNotchCount); });
    PadDialog pad(form_, form_->padDevices(), ranges);
    pad.show();
    expectLanguage(&pad, GetParam(), "pad dialog");
    shoot(&pad, QStringLiteral("pad-dialog"), GetParam());
    pad.close();

    whileModal([&] { showLinkDialog(form_); },
               [&](QDialog* d) {
                   expectLanguage(d, GetParam(), "link dialog");
                   shoot(d, QStringLiteral("link-dialog"), GetParam());
               });
    PortSettings settings;
    whileModal([&] { runSetupDialog(form_, settings); },
               [&](QDialog* d) {
                   expectLanguage(d, GetParam(), "setup dialog");
                   shoot(d, QStringLiteral("setup-dialog"), GetParam());
               });

    HeldTimers held(*app().timers);
    ReplayWatch watch(*form_, {}, held);
    expectLanguage(form_->findChild<QMenu*>("replayMenu"), GetParam(), "replay menu");
}

TEST_P(WindowLanguage, ReportInstallAndReadMe) {
    ReportWindow report(sampleReport());
    report.show();
    expectLanguage(&report, GetParam(), "report window");
    shoot(&report, QStringLiteral("report"), GetParam());

    InstallDialog install(title_);
    install.show();
    expectLanguage(&install, GetParam(), "install dialog");
    shoot(&install, QStringLiteral("install-dialog"), GetParam());

    ReadmeWindow readme(QStringLiteral(TRAINSIM_DEMO "/readme.html"));
    // The read-me is the data's document: only the window's title is ours.
    const auto shown = test::shownTextsOf(&readme);
    ASSERT_FALSE(shown.empty());
    const QStringList found = GetParam() == Language::Japanese ? test::englishOfOurs({shown.front()}, allowance())
                                                               : test::japaneseOfOurs({shown.front()}, allowance());
    EXPECT_TRUE(found.isEmpty()) << listed(found).toStdString();
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, WindowLanguage, ::testing::Values(Language::Japanese, Language::English),
                         [](const auto& info) { return std::string(info.param == Language::Japanese ? "ja" : "en"); });

// Display > Language: the windows already open follow at once, and back.
class LanguageMenu : public test::WindowFixture {
protected:
    void SetUp() override {
        useLanguage(Language::English);
        openWindows(TRAINSIM_DEMO);
    }
    void TearDown() override {
        test::WindowFixture::TearDown();
        useLanguage(Language::English);
    }
};

TEST_F(LanguageMenu, OpenWindowsRetranslate) {
    title_->show();
    form_ = title_->createDrivingWindow("789");
    form_->show();
    form_->action("start1")->trigger();
    form_->action("start1")->trigger();
    QTest::qWait(100);
    auto* japanese = form_->findChild<QAction*>("language_ja");
    auto* english = form_->findChild<QAction*>("language_en");
    ASSERT_NE(japanese, nullptr);
    ASSERT_NE(english, nullptr);
    const QString record = form_->findChild<QAction*>("recordRun")->text();

    japanese->trigger();
    EXPECT_EQ(currentLanguage(), Language::Japanese);
    ASSERT_TRUE(QTest::qWaitFor([&] { return form_->findChild<QAction*>("recordRun")->text() != record; }, 10000));
    expectLanguage(form_, Language::Japanese, "driving window after Display > Language");
    expectLanguage(title_, Language::Japanese, "title screen after Display > Language");
    expectLanguage(app().valueDisplay, Language::Japanese, "value display after Display > Language");
    // The system's own captions do not change with the language.
    EXPECT_EQ(form_->action("start1")->text(), QStringLiteral("運転再開(&S)"));
    EXPECT_EQ(form_->findChild<QMenu*>("Show1")->title(), QStringLiteral("Display"));

    english->trigger();
    EXPECT_EQ(currentLanguage(), Language::English);
    ASSERT_TRUE(QTest::qWaitFor([&] { return form_->findChild<QAction*>("recordRun")->text() == record; }, 10000));
    expectLanguage(form_, Language::English, "driving window back in English");
    expectLanguage(title_, Language::English, "title screen back in English");
    // In English the system's Japanese caption keeps its meaning at hand.
    EXPECT_EQ(form_->action("start1")->toolTip(), QStringLiteral("Resume"));
    // ... shown when the pointer rests on it in the menu bar.
    QMenuBar* bar = form_->menuBar();
    const QPoint on = bar->actionGeometry(form_->action("start1")).center();
    QHelpEvent help(QEvent::ToolTip, on, bar->mapToGlobal(on));
    QApplication::sendEvent(bar, &help);
    EXPECT_EQ(QToolTip::text(), QStringLiteral("Resume"));
    // A caption in the program's language needs no tooltip.
    const QPoint display = bar->actionGeometry(form_->findChild<QMenu*>("Show1")->menuAction()).center();
    QHelpEvent none(QEvent::ToolTip, display, bar->mapToGlobal(display));
    QApplication::sendEvent(bar, &none);
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 5000));
}
