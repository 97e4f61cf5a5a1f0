// A data folder's own routes in the windows: the title screen's "Other
// routes…" entry, --train's direct start, the readme without a browser, and
// the auxiliary windows of a run that has closed.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app_state.h"
#include "data/train_codes.h"
#include "driving_window.h"
#include "help_window.h"
#include "qt_timers.h"
#include "readme_window.h"
#include "recording_message_boxes.h"
#include "shown_text.h"
#include "test_support.h"
#include "title_window.h"
#include "value_window.h"

using namespace ts;
namespace fs = std::filesystem;

namespace {

std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// The basic fixture, plus a route of the author's own under `code` when given
// (the fixture's electric train on a line of another name).
class OwnRoutes : public ::testing::Test {
protected:
    void open(const std::string& code = {}, const std::string& trainFileName = {}) {
        for (const auto& e : fs::directory_iterator(TRAINSIM_FIXTURES "/basic"))
            dir_.write(e.path().filename().string(), readFile(e.path()));
        if (!code.empty()) {
            std::string line = readFile(dir_.path() / "789_line.txt");
            line.replace(line.find("試験線"), std::string("試験線").size(), "My own line");
            dir_.write(code + "_line.txt", line);
            dir_.write(trainFileName.empty() ? code + "_train.txt" : trainFileName,
                       readFile(dir_.path() / "789_train.txt"));
        }
        cwd_ = std::make_unique<test::ScopedCwd>(dir_.path());
        app().boxes = &boxes_;
        app().timers = &timers_;
        app().help = new TForm4;
        app().valueDisplay = new TForm3;
        title_ = new TForm5;
        title_->showReports = false;
        app().title = title_;
    }
    void TearDown() override {
        delete title_;
        delete app().help;
        delete app().valueDisplay;
        delete app().current;
        app() = AppState{};
        cwd_.reset();
    }
    test::TempDir dir_;
    RecordingMessageBoxes boxes_;
    QtTimerFactory timers_;
    TForm5* title_ = nullptr;
    std::unique_ptr<test::ScopedCwd> cwd_;
};

void saveScreenshot(QWidget* w, const char* name) {
    const QString dir = qEnvironmentVariable("TRAINSIM_SCREENSHOTS");
    if (!dir.isEmpty()) w->grab().save(dir + "/" + name);
}

}  // namespace

TEST(TrainCodes, BothFilesInAnyCaseMakeACode) {
    test::TempDir dir;
    dir.write("789_line.txt", "");
    dir.write("789_train.txt", "");
    dir.write("Hill_LINE.TXT", "");
    dir.write("hill_train.txt", "");
    dir.write("lonely_line.txt", "");  // no train file
    dir.write("sub/x_line.txt", "");
    dir.write("sub/x_train.txt", "");
    EXPECT_EQ(trainCodesIn(dir.path().string()), (std::vector<std::string>{"789", "Hill"}));
    EXPECT_TRUE(hasTrainCode(dir.path().string(), "HILL"));
    EXPECT_FALSE(hasTrainCode(dir.path().string(), "lonely"));
    EXPECT_FALSE(hasTrainCode(dir.path().string(), "x"));
}

TEST_F(OwnRoutes, TheDemoCodesAloneAddNothingToTheTitle) {
    open();
    EXPECT_TRUE(title_->otherRoutes().empty());
    EXPECT_EQ(title_->element("OtherRoutes"), nullptr);
}

TEST_F(OwnRoutes, AThirdCodeIsOfferedWithItsLineNameAndDrives) {
    open("hill", "HILL_train.txt");
    ASSERT_EQ(title_->otherRoutes().size(), 1u);
    EXPECT_EQ(title_->otherRoutes()[0].code, "hill");
    EXPECT_EQ(title_->otherRoutes()[0].lineName, "My own line");
    QLabel* entry = title_->element("OtherRoutes");
    ASSERT_NE(entry, nullptr);
    title_->show();
    for (int i = 0; i < 60 && title_->animating(); ++i) QTest::qWait(100);
    EXPECT_TRUE(entry->isVisible());
    // Clear of every picture of the title screen's own.
    for (const char* other : {"Train1", "Train2", "HELP", "Quit"})
        EXPECT_FALSE(entry->geometry().intersects(title_->element(other)->geometry())) << other;
    EXPECT_TRUE(title_->rect().contains(entry->geometry()));
    saveScreenshot(title_, "title-other-routes.png");

    QMenu* menu = title_->otherRoutesMenu();
    ASSERT_EQ(menu->actions().size(), 1);
    QAction* item = menu->actions()[0];
    EXPECT_EQ(item->text(), "hill — My own line");
    std::string codeInRun;
    bool closed = false;
    QTimer::singleShot(0, [&] {
        // The run's modal loop: wait until its window is there, then close it.
        auto poll = std::make_shared<QTimer>();
        QObject::connect(poll.get(), &QTimer::timeout, [&, poll] {
            if (!app().current || !app().current->isVisible()) return;
            codeInRun = app().current->run().locked([](ts::Run& r, PanelModel&) { return r.trainCode; });
            app().current->backClick();
            closed = true;
            poll->stop();
        });
        poll->start(20);
    });
    item->trigger();
    for (int i = 0; i < 300 && !closed; ++i) QTest::qWait(50);
    ASSERT_TRUE(closed);
    EXPECT_EQ(codeInRun, "hill");
    for (int i = 0; i < 100 && !title_->isVisible(); ++i) QTest::qWait(50);
    EXPECT_TRUE(title_->isVisible()) << "the title screen comes back after the run";
    EXPECT_TRUE(boxes_.all().empty()) << boxes_.all().front();
}

TEST_F(OwnRoutes, LineNamesShowInTheMenuAsWritten) {
    const std::string train = readFile(TRAINSIM_FIXTURES "/basic/789_train.txt");
    const std::string longName = "Long" + std::string(5000, 'o') + "ng line";
    const std::pair<std::string, std::string> routes[] = {
        {"a_tab", "A&B Line\tbranch"},
        {"b_amps", "A&B &&C"},
        {"c_long", longName},
        {"d_rtl", "abc\u202Edef\u2066g\u2069\x01h"},
    };
    for (const auto& [code, name] : routes) {
        dir_.write(code + "_line.txt", "[LineName]\n" + name + "\n");
        dir_.write(code + "_train.txt", train);
    }
    open();
    QMenu* menu = title_->otherRoutesMenu();
    ASSERT_EQ(menu->actions().size(), 4);
    const QList<QAction*> items = menu->actions();
    EXPECT_EQ(items[0]->text(), "a_tab — A&&B Line branch") << "& shown, the tab a blank, no shortcut column";
    EXPECT_EQ(items[1]->text(), "b_amps — A&&B &&&&C");
    EXPECT_EQ(items[3]->text(), "d_rtl — abcdefgh") << "no override reverses the rest";

    const QString longText = items[2]->text();
    EXPECT_TRUE(longText.startsWith("c_long — Long")) << longText.toStdString();
    EXPECT_TRUE(longText.endsWith("ng line")) << "elided in the middle";
    EXPECT_TRUE(longText.contains(QChar(0x2026)));
    EXPECT_TRUE(items[2]->toolTip().contains(QString::fromStdString(longName))) << "the tooltip holds the whole name";
    EXPECT_TRUE(menu->toolTipsVisible());
    EXPECT_LE(menu->sizeHint().width(), kNameWidth + 120) << "the menu stays narrower than a screen";

    menu->popup(QPoint(0, 0));
    for (int i = 0; i < 50 && !menu->isVisible(); ++i) QTest::qWait(20);
    saveScreenshot(menu, "other-routes-menu-odd-names.png");
    menu->hide();
}

TEST_F(OwnRoutes, StationAndLineNamesShowInTheRunsMenuAndTitleAsWritten) {
    open();
    std::string line = readFile(dir_.path() / "789_line.txt");
    line.replace(line.find("試験線"), std::string("試験線").size(), "Up&Down\tline\u202E");
    line.replace(line.find("西駅"), std::string("西駅").size(), "Central" + std::string(3000, 'x') + "end");
    dir_.write("789_line.txt", line);
    QString title, central, tip;
    QTimer::singleShot(50, [&] {
        TForm1* form = app().current;
        ASSERT_NE(form, nullptr);
        // The line name becomes the caption at the first presentation step.
        form->start1Click();
        EXPECT_TRUE(QTest::qWaitFor([&] { return form->windowTitle() != "Train Simulator"; }, 10000));
        title = form->windowTitle();
        if (auto* a = form->findChild<QAction*>("Sta2")) {
            central = a->text();
            tip = a->toolTip();
            if (auto* menu = qobject_cast<QMenu*>(a->parent())) {
                menu->popup(QPoint(0, 0));
                EXPECT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }, 5000));
                saveScreenshot(menu, "station-menu-odd-names.png");
                menu->hide();
            }
        }
        form->backClick();
    });
    title_->Train1Click();
    EXPECT_EQ(title, "Up&Down line");
    EXPECT_TRUE(central.startsWith("Central") && central.endsWith("xend") && central.contains(QChar(0x2026)))
        << central.toStdString();
    EXPECT_LT(central.size(), 200);
    EXPECT_TRUE(tip.contains("Central" + QString(3000, 'x') + "end"));
}

TEST_F(OwnRoutes, AClosedRunLeavesNoAuxiliaryWindowShowing) {
    open();
    bool sawBoth = false;
    QTimer::singleShot(50, [&] {
        TForm1* form = app().current;
        ASSERT_NE(form, nullptr);
        form->setShown(AuxWindow::Help, true);
        form->setShown(AuxWindow::ValueDisplay, true);
        sawBoth = app().help->isVisible() && app().valueDisplay->isVisible();
        form->backClick();
    });
    title_->Train1Click();
    EXPECT_TRUE(sawBoth);
    EXPECT_FALSE(app().help->isVisible());
    EXPECT_FALSE(app().valueDisplay->isVisible());
}

TEST_F(OwnRoutes, WithoutABrowserTheReadmeOpensInTheProgramsOwnWindow) {
    open();
    dir_.write("readme.html", "<html><body><h1>My route</h1><p>Drive carefully.</p></body></html>");
    EXPECT_FALSE(desktopOpensWebPages()) << "the offscreen platform has no browser";
    ReadmeWindow* w = openReadme(QString::fromStdString((dir_.path() / "readme.html").string()));
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(w->browser()->toPlainText().contains("Drive carefully."));
    saveScreenshot(w, "readme-window.png");
    w->close();

    ReadmeWindow missing(QString::fromStdString((dir_.path() / "nothing.html").string()));
    EXPECT_TRUE(missing.browser()->toPlainText().contains("no readme.html"));
}
