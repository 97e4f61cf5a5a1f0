// The route editor's window under the offscreen platform: stepping through the
// video, adding and dragging rows, the live check, saving, and a route made
// from a video alone that checks clean and drives (in the editor's test drive
// and in the drive mode).
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressDialog>
#include <QSettings>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <fstream>
#include <sstream>

#include <QLineSeries>
#include <QPushButton>
#include "app_state.h"
#include "check_list.h"
#include "copy_dialog.h"
#include "data/text_file.h"
#include "drive_runner.h"
#include "driving_window.h"
#include "edit/route_folder.h"
#include "edit/route_tables.h"
#include "editor_window.h"
#include "gps_import_dialog.h"
#include "qt_timers.h"
#include "recording_message_boxes.h"
#include "route_opening.h"
#include "single_values_form.h"
#include "test_support.h"
#include "timeline.h"
#include "video/ffmpeg_frame_source.h"
#include "video/video_writer.h"
#include "video_cache.h"
#include "video_pane.h"
#include "video_placement.h"

using namespace ts;
using namespace ts::editor;
using edit::RouteDocument;
using edit::TableKind;

namespace {

std::string readFile(const std::string& p) { return readFileBytes(p).value_or(""); }

// The demo data set copied into a scratch folder that is the current folder.
struct DemoCopy {
    test::TempDir dir;
    std::unique_ptr<test::ScopedCwd> cwd;
    DemoCopy() {
        std::filesystem::copy(TRAINSIM_DEMO, dir.path(), std::filesystem::copy_options::recursive);
        cwd = std::make_unique<test::ScopedCwd>(dir.path());
    }
};

struct Program {
    int status = -1;
    std::string out;
};

Program runTrainsim(const std::string& args) {
    Program p;
    FILE* f = popen((std::string(TRAINSIM_BIN) + " " + args + " 2>&1").c_str(), "r");
    if (!f) return p;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0) p.out.append(buf, n);
    const int st = pclose(f);
    p.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return p;
}

void shoot(QWidget& w, const char* name) {
    const QByteArray dir = qgetenv("TRAINSIM_SCREENSHOTS");
    if (!dir.isEmpty()) w.grab().save(QString::fromUtf8(dir) + "/" + name);
}

// The devices a driving window needs, for the test drive.
struct Devices {
    RecordingMessageBoxes boxes;
    QtTimerFactory timers;
    Devices() {
        app().boxes = &boxes;
        app().timers = &timers;
    }
    ~Devices() { app() = AppState{}; }
};

std::unique_ptr<EditorWindow> openEditor(const std::string& code) {
    std::string error;
    auto doc = RouteDocument::open(code + "_line.txt", &error);
    EXPECT_TRUE(doc) << error;
    auto w = std::make_unique<EditorWindow>(std::move(*doc), code, code + "_line.txt");
    w->askOnClose = false;
    w->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    return w;
}

}  // namespace

// The video is decoded on a thread of its own: a jump answers at once with the
// nearest decoded picture, marked as standing in, and the frame follows.
TEST(RouteEditor, AJumpAnswersAtOnceWithTheNearestPictureMarkedUntilTheFrameIsDecoded) {
    DemoCopy demo;
    // The pane alone: nothing connected to it handles events while it moves.
    VideoPane pane;
    pane.resize(960, 520);
    pane.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&pane));
    ASSERT_TRUE(pane.open("video/789.mp4", false));
    auto exact = [&] { return QTest::qWaitFor([&] { return pane.pictureExact(); }, 30000); };
    pane.setFrame(280);
    ASSERT_TRUE(exact());
    EXPECT_EQ(pane.view()->standIn(), -1);
    EXPECT_FALSE(pane.view()->image().isNull());
    pane.setFrame(3280);
    // The decoder thread needs milliseconds for the new frame; unless this
    // thread was held up that long, the picture on view stands in for it, marked.
    if (!pane.pictureExact()) {
        EXPECT_GE(pane.view()->standIn(), 280) << "the picture on view stands in for the new frame";
        EXPECT_LE(pane.view()->standIn(), 281);
        shoot(pane, "editor-video-stand-in.png");
    } else {
        EXPECT_EQ(pane.view()->standIn(), -1) << "the frame itself is not marked";
    }
    ASSERT_TRUE(exact());
    EXPECT_EQ(pane.view()->standIn(), -1);
    EXPECT_EQ(pane.frame(), 3280);
    shoot(pane, "editor-video-exact.png");
}

// The status line says when a video is slow to seek and what to do.
TEST(RouteEditor, AVideoWithKeyframesFarApartIsSaidToBeSlowToSeek) {
    test::TempDir dir;
    VideoSettings s;
    s.gop = 120;  // a keyframe every 4 s
    const std::string slow = (dir.path() / "slow.mp4").string();
    {
        VideoWriter writer(slow, s);
        std::vector<uint32_t> px(size_t(kViewWidth) * kViewHeight);
        for (int i = 0; i < 240; ++i) {
            std::fill(px.begin(), px.end(), 0xFF000000u | uint32_t(i));
            writer.add(px.data());
        }
        ASSERT_TRUE(writer.finish());
    }
    VideoPane pane;
    ASSERT_TRUE(pane.open(QString::fromStdString(slow), false));
    EXPECT_TRUE(pane.seekAdvice().contains("slow to seek")) << pane.seekAdvice().toStdString();
    EXPECT_TRUE(pane.seekAdvice().contains("4.0 s")) << pane.seekAdvice().toStdString();
    DemoCopy demo;
    ASSERT_TRUE(pane.open("video/789.mp4", false));
    EXPECT_TRUE(pane.seekAdvice().isEmpty()) << "the demo's video has a keyframe a second";
}

// A slow-to-seek video's working copy, prepared with a progress dialog, is
// what the pane decodes from then on, with the same frames.
TEST(RouteEditor, AQuickSeekingCopyIsPreparedWithProgressAndThenUsed) {
    test::TempDir dir;
    VideoSettings s;
    s.width = 960;
    s.height = 540;
    s.fps = 60;
    s.gop = 250;
    const std::string slow = (dir.path() / "camera.mp4").string();
    {
        VideoWriter writer(slow, s);
        std::vector<uint32_t> px(size_t(s.width) * s.height);
        for (int i = 0; i < 300; ++i) {
            for (size_t p = 0; p < px.size(); ++p) px[p] = 0xFF000000u | uint32_t((p / 131 + size_t(i) * 5) & 0xFF);
            writer.add(px.data());
        }
        ASSERT_TRUE(writer.finish());
    }
    VideoPane pane;
    pane.resize(640, 360);
    ASSERT_TRUE(pane.open(QString::fromStdString(slow), false));
    EXPECT_FALSE(pane.usingCopy());
    EXPECT_TRUE(pane.copyWouldHelp());
    EXPECT_TRUE(pane.seekAdvice().contains("Prepare a quick-seeking copy")) << pane.seekAdvice().toStdString();
    const int frames = pane.frameCount();
    bool shot = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
        if (!shot && dialog && dialog->value() > 0 && dialog->labelText().contains("left")) {
            shoot(*dialog, "editor-prepare-copy-progress.png");
            shot = true;
        }
    });
    watch.start(20);
    QString message;
    ASSERT_TRUE(prepareCopyWithProgress(&pane, slow, &message)) << message.toStdString();
    watch.stop();
    EXPECT_TRUE(shot) << "the progress dialog showed how far it was and the time left";
    EXPECT_FALSE(currentWorkingCopy(slow).empty());
    ASSERT_TRUE(pane.open(QString::fromStdString(slow), false));
    EXPECT_TRUE(pane.usingCopy());
    EXPECT_FALSE(pane.copyWouldHelp());
    EXPECT_TRUE(pane.seekAdvice().isEmpty()) << pane.seekAdvice().toStdString();
    EXPECT_EQ(pane.frameCount(), frames);
    EXPECT_EQ(pane.originalPath(), slow);
}

// Opening a route whose video is slow to seek offers the copy; Yes prepares
// it and the pane decodes it from then on.
TEST(RouteEditor, ASlowVideoBringsTheOfferOfACopyAndYesPreparesIt) {
    DemoCopy demo;
    {
        VideoSettings s;
        s.gop = 240;  // a keyframe every 8 s
        VideoWriter writer("video/789.mp4", s);
        std::vector<uint32_t> px(size_t(s.width) * s.height);
        for (int i = 0; i < 300; ++i) {
            std::fill(px.begin(), px.end(), 0xFF000000u | uint32_t(i & 0xFF) << 8);
            writer.add(px.data());
        }
        ASSERT_TRUE(writer.finish());
    }
    QString asked;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !asked.isEmpty()) return;
        asked = box->text();
        shoot(*box, "editor-copy-offer.png");
        box->button(QMessageBox::Yes)->click();
    });
    watch.start(20);
    auto w = openEditor("789");
    QElapsedTimer clock;
    clock.start();
    while (!w->video()->usingCopy() && clock.elapsed() < 120000) QTest::qWait(20);
    watch.stop();
    EXPECT_TRUE(asked.contains("slow to seek")) << asked.toStdString();
    EXPECT_TRUE(w->video()->usingCopy());
    EXPECT_FALSE(w->action("prepareCopy")->isEnabled());
    EXPECT_TRUE(w->statusBar()->currentMessage().contains("ready")) << w->statusBar()->currentMessage().toStdString();
}

TEST(RouteEditor, StepsFramesAddsASignalAndSavesARouteThatChecksAndDrives) {
    DemoCopy demo;
    const std::string before = readFile("789_line.txt");
    auto w = openEditor("789");
    const int start = w->document().route().startPosition;
    EXPECT_EQ(w->cursorFrame(), start);
    EXPECT_GT(w->video()->frameCount(), 4000);
    EXPECT_EQ(w->windowTitle().left(1), "7") << "not modified yet";

    QTest::keyClick(w.get(), Qt::Key_Period);
    EXPECT_EQ(w->cursorFrame(), start + 1);
    QTest::keyClick(w.get(), Qt::Key_Period, Qt::ShiftModifier);
    EXPECT_EQ(w->cursorFrame(), start + 11);
    QTest::keyClick(w.get(), Qt::Key_Period, Qt::ControlModifier);
    EXPECT_EQ(w->cursorFrame(), start + 111);
    QTest::keyClick(w.get(), Qt::Key_Comma);
    EXPECT_EQ(w->cursorFrame(), start + 110);
    EXPECT_EQ(w->video()->frame(), start + 110) << "the video follows the cursor";
    EXPECT_EQ(w->timeline()->cursorFrame(), start + 110);
    const QString label = w->video()->findChild<QLabel*>("frameLabel")->text();
    EXPECT_TRUE(label.startsWith(QString("Frame %1 ").arg(start + 110))) << label.toStdString();
    EXPECT_TRUE(label.endsWith(QString(" %1 km/h").arg(w->document().recordedSpeedAt(start + 110))))
        << label.toStdString();

    // Ctrl+1 marks a station at the cursor; undone at once.
    const int stationRows = w->document().rowCount(TableKind::Station);
    QTest::keyClick(w.get(), Qt::Key_1, Qt::ControlModifier);
    ASSERT_EQ(w->document().rowCount(TableKind::Station), stationRows + 1);
    ASSERT_TRUE(w->timeline()->selectedRow());
    const auto stop = w->document().framePositions(TableKind::Station, w->timeline()->selectedRow()->second);
    EXPECT_LE(stop[0], start + 110);
    EXPECT_GE(stop[1], start + 110) << "its stop range holds the cursor";
    QTest::keyClick(w.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(w->document().rowCount(TableKind::Station), stationRows);

    // To the next event and back: a position of some row.
    QTest::keyClick(w.get(), Qt::Key_BracketRight);
    const int next = w->cursorFrame();
    EXPECT_GT(next, start + 110);
    QTest::keyClick(w.get(), Qt::Key_BracketLeft);
    EXPECT_LT(w->cursorFrame(), next);

    // A signal at frame 2600, its alarm and check points before it.
    w->setCursorFrame(2600);
    const int signalRows = w->document().rowCount(TableKind::Signal);
    w->action("add[Signal]")->trigger();
    ASSERT_EQ(w->document().rowCount(TableKind::Signal), signalRows + 1);
    const auto sel = w->timeline()->selectedRow();
    ASSERT_TRUE(sel);
    EXPECT_EQ(sel->first, TableKind::Signal);
    const int row = sel->second;
    EXPECT_EQ(w->tabs()->currentWidget(), w->table(TableKind::Signal));
    EXPECT_EQ(w->table(TableKind::Signal)->currentIndex().row(), row);
    EXPECT_EQ(w->table(TableKind::Signal)->model()->rowCount(), signalRows + 1);
    const auto positions = w->document().framePositions(TableKind::Signal, row);
    ASSERT_EQ(positions.size(), 4u);
    EXPECT_EQ(positions[1], 2600) << "the signal stands at the cursor";
    EXPECT_LT(positions[2], 2600);
    EXPECT_LT(positions[3], 2600);
    EXPECT_EQ(w->windowTitle().left(1), "*");

    // Undo and redo through the menu.
    w->action("undo")->trigger();
    EXPECT_EQ(w->document().rowCount(TableKind::Signal), signalRows);
    EXPECT_EQ(w->table(TableKind::Signal)->model()->rowCount(), signalRows);
    w->action("redo")->trigger();
    EXPECT_EQ(w->document().rowCount(TableKind::Signal), signalRows + 1);

    // A field edited in the table, Japanese included.
    auto* model = w->table(TableKind::Signal)->model();
    ASSERT_TRUE(model->setData(model->index(row, 1), QString::fromUtf8("場内"), Qt::EditRole));
    EXPECT_EQ(w->document().text(TableKind::Signal, row, 1), "場内");

    w->checks()->checkNow();
    EXPECT_EQ(w->checks()->errors(), 0);
    shoot(*w, "editor.png");

    w->action("save")->trigger();
    EXPECT_FALSE(w->document().modified());
    EXPECT_EQ(w->windowTitle().left(1), "7");
    const std::string after = readFile("789_line.txt");
    EXPECT_NE(after, before);

    const Program check = runTrainsim("check --data . 789");
    EXPECT_EQ(check.status, 0) << check.out;
    EXPECT_NE(check.out.find("789: 0 errors"), std::string::npos) << check.out;
    // The drive mode runs the saved route over the new signal.
    const auto r = test::drive(
        demo.dir.path().string(), "789",
        "@0 start\n@10 goto 2500\n@20 char f\n@30 char 5\n@40 char z\n@50 char z\n@60 char z\n@30000 close\n");
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_FALSE(r.lines.empty());
    EXPECT_GT(std::stoi(test::field(r.lines.back(), "trainPosition")), 2600) << "past the new signal";
}

TEST(RouteEditor, DraggingAPositionOnTheTimelineMovesItAsOneUndoStep) {
    DemoCopy demo;
    auto w = openEditor("40");
    Timeline* t = w->timeline();
    t->setFramesPerPixel(1);
    const int row = 1;
    const auto columns = w->document().frameColumns(TableKind::Station);
    const int stopFrom = columns[0];
    const int was = w->document().framePositions(TableKind::Station, row)[0];
    w->setCursorFrame(was);
    const QPoint from = t->handlePoint(TableKind::Station, row, stopFrom);
    ASSERT_FALSE(from.isNull());
    QTest::mousePress(t, Qt::LeftButton, {}, from);
    ASSERT_TRUE(t->selectedRow());
    EXPECT_EQ(t->selectedRow()->second, row);
    EXPECT_EQ(w->table(TableKind::Station)->currentIndex().row(), row) << "the click selects the row's line";
    for (int dx = 5; dx <= 15; dx += 5) QTest::mouseMove(t, from + QPoint(-dx, 0));
    QTest::mouseRelease(t, Qt::LeftButton, {}, from + QPoint(-15, 0));
    const int moved = w->document().framePositions(TableKind::Station, row)[0];
    EXPECT_EQ(moved, t->frameAt(from.x() - 15));
    EXPECT_LT(moved, was);
    ASSERT_TRUE(w->document().undo());
    EXPECT_EQ(w->document().framePositions(TableKind::Station, row)[0], was) << "the whole drag undoes at once";

    // Recorded-speed keyframes: a double click adds one, dragging moves it, a right click removes it.
    const size_t keyframes = w->document().speedKeyframes().size();
    const int frame = was + 40;
    const QRect speed = t->laneRect(TableKind::SpeedUnit);
    const QPoint at(t->xOf(frame + 0.5), speed.center().y());
    QTest::mouseDClick(t, Qt::LeftButton, {}, at);
    auto points = w->document().speedKeyframes();
    ASSERT_EQ(points.size(), keyframes + 1);
    auto added = std::find_if(points.begin(), points.end(), [&](auto& p) { return p.first == frame; });
    ASSERT_NE(added, points.end());
    const int index = int(added - points.begin());
    const QPoint handle = t->keyframePoint(index);
    QTest::mousePress(t, Qt::LeftButton, {}, handle);
    QTest::mouseMove(t, handle + QPoint(0, -10));
    QTest::mouseRelease(t, Qt::LeftButton, {}, handle + QPoint(0, -10));
    EXPECT_GT(w->document().speedKeyframes()[size_t(index)].second, added->second) << "dragged up: faster";
    QTest::mouseClick(t, Qt::RightButton, {}, t->keyframePoint(index));
    EXPECT_EQ(w->document().speedKeyframes().size(), keyframes);
    shoot(*t, "editor-timeline.png");
}

TEST(RouteEditor, TheLiveCheckFollowsEditsAndLeadsToTheRow) {
    DemoCopy demo;
    auto w = openEditor("789");
    w->checks()->checkNow();
    const int itemsBefore = w->checks()->count();
    ASSERT_GE(w->document().rowCount(TableKind::Signal), 2);
    // Out of order: the second signal's block starts before the first's.
    w->document().setFrame(TableKind::Signal, 1, 3, 1);
    EXPECT_TRUE(w->checks()->pending()) << "an edit schedules a check";
    EXPECT_TRUE(QTest::qWaitFor([&] { return !w->checks()->pending(); }, 20000));
    EXPECT_GT(w->checks()->count(), itemsBefore > 1 ? itemsBefore : 0);
    QListWidgetItem* signalItem = nullptr;
    for (int i = 0; i < w->checks()->count(); ++i)
        if (w->checks()->item(i)->text().contains("[Signal] row 2")) signalItem = w->checks()->item(i);
    ASSERT_TRUE(signalItem) << "the out-of-order signal is listed";
    w->setCursorFrame(4000);
    const QRect r = w->checks()->visualItemRect(signalItem);
    QTest::mouseClick(w->checks()->viewport(), Qt::LeftButton, {}, r.center());
    EXPECT_EQ(w->tabs()->currentWidget(), w->table(TableKind::Signal));
    EXPECT_EQ(w->table(TableKind::Signal)->currentIndex().row(), 1);
    EXPECT_EQ(w->cursorFrame(), 1) << "the cursor goes to the row's first position";
    shoot(*w, "editor-check.png");
}

TEST(RouteEditor, ARouteFromAVideoAloneChecksCleanAndTestDrivesFromTheCursor) {
    DemoCopy demo;
    Devices devices;
    std::filesystem::copy_file("789_train.txt", "ride_train.txt");
    FfmpegFrameSource video;
    ASSERT_TRUE(video.open("video/789.mp4"));
    const int frames = video.length();
    RouteDocument fresh = RouteDocument::fresh("video/789.mp4", frames, edit::routeListsOf("789_line.txt"));
    EditorWindow w(std::move(fresh), "ride", "ride_line.txt");
    w.askOnClose = false;
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    EXPECT_EQ(w.document().route().lineEnd(), frames - 1) << "the end of the line at the video's end";

    // The author's walk: stations, a signal, a limit, a slope and a speed curve.
    w.setCursorFrame(1500);
    w.addRow(TableKind::Station);
    w.setCursorFrame(4000);
    w.addRow(TableKind::Station);
    w.setCursorFrame(1300);
    w.addRow(TableKind::Signal);
    w.setCursorFrame(2200);
    w.addRow(TableKind::SpeedLimit);
    w.setCursorFrame(600);
    w.addRow(TableKind::Slope);
    w.document().setSpeedKeyframes({{0, 5}, {300, 60}, {1400, 60}, {1500, 5}, {1600, 60}, {frames - 1, 60}});
    auto* lineName = w.singleValues()->findChild<QLineEdit*>("[LineName]");
    ASSERT_TRUE(lineName);
    lineName->setText(QString::fromUtf8("試運転線"));
    emit lineName->editingFinished();
    EXPECT_EQ(w.document().single(edit::SingleValue::LineName), "試運転線");
    w.checks()->checkNow();
    EXPECT_EQ(w.checks()->errors(), 0) << w.checks()->item(0)->text().toStdString();
    EXPECT_EQ(w.checks()->warnings(), 0) << w.checks()->item(0)->text().toStdString();

    // The test drive stands the train at the cursor, unsaved edits included.
    w.setCursorFrame(2000);
    int32_t stoodAt = -1;
    std::string caption;
    w.onTestDriveShown = [&](TForm1& form) {
        form.run().locked([&](ts::Run& r, PanelModel&) {
            stoodAt = r.trainPosition;
            caption = r.lineName;
        });
        form.close();
    };
    w.action("testDrive")->trigger();
    EXPECT_EQ(stoodAt, 2000);
    EXPECT_EQ(caption, "試運転線");
    EXPECT_TRUE(w.isVisible()) << "back in the editor";
    EXPECT_TRUE(devices.boxes.all().empty());
    shoot(w, "editor-new-route.png");

    QString error;
    ASSERT_TRUE(w.save(&error)) << error.toStdString();
    const Program check = runTrainsim("check --data . ride");
    EXPECT_EQ(check.status, 0) << check.out;
}

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The editor's remembered layout goes to a folder of the test's own.
    const test::TempDir settings;
    qputenv("XDG_CONFIG_HOME", settings.path().string().c_str());
    // Working copies of videos, too.
    const test::TempDir cache;
    qputenv("XDG_CACHE_HOME", cache.path().string().c_str());
    QApplication qapp(argc, argv);
    QApplication::setApplicationName("Train Simulator");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

TEST(RouteEditor, TheEditCommandRefusesWhatItCannotOpen) {
    DemoCopy demo;
    const Program bad = runTrainsim("edit --bogus");
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.out.find("usage: trainsim edit"), std::string::npos) << bad.out;
    const Program twice = runTrainsim("edit --data . 789 40 -platform offscreen");
    EXPECT_EQ(twice.status, 2) << twice.out;
    // A new route whose video cannot be read: a message and status 1, no route written.
    std::ofstream("notavideo.mp4") << "not a video";
    const Program video = runTrainsim("edit --data . fresh --video notavideo.mp4 --train-from 789 -platform offscreen");
    EXPECT_EQ(video.status, 1) << video.out;
    EXPECT_FALSE(std::filesystem::exists("fresh_line.txt"));
    EXPECT_FALSE(std::filesystem::exists("fresh_train.txt"));
}

TEST(RouteEditor, ANewRouteIsWrittenAtOnceAsAMinimalRouteThatChecksClean) {
    DemoCopy demo;
    // The editor stays open until killed: the route is on disk before that.
    const Program p = runTrainsim(
        "edit --data . mine --video video/40.mp4 --train-from 40 -platform offscreen & "
        "pid=$!; for i in $(seq 1 600); do [ -f mine_line.txt ] && break; sleep 0.1; done; "
        "kill $pid; wait $pid; true");
    ASSERT_TRUE(std::filesystem::exists("mine_line.txt")) << p.out;
    EXPECT_TRUE(std::filesystem::exists("mine_train.txt"));
    const Program check = runTrainsim("check --data . mine");
    EXPECT_EQ(check.status, 0) << check.out;
}

TEST(RouteEditor, TheGpsImportIsPreviewedOverTheCurveAndUndoesAsOneStep) {
    DemoCopy demo;
    auto w = openEditor("789");
    RouteDocument& doc = w->document();
    const std::string before = doc.bytes();
    GpsImportDialog dialog(doc, w->video()->frameCount(), w.get());

    // Bad input: named with its line, nothing to apply.
    std::ofstream("backwards.gpx") << "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\"><trk><trkseg>\n"
                                      "<trkpt lat=\"35\" lon=\"139\"><time>2024-05-01T09:00:10Z</time></trkpt>\n"
                                      "<trkpt lat=\"35.001\" lon=\"139\"><time>2024-05-01T09:00:05Z</time></trkpt>\n"
                                      "</trkseg></trk></gpx>\n";
    dialog.setTrack("backwards.gpx");
    dialog.setOffset(0);
    EXPECT_FALSE(dialog.preview());
    EXPECT_TRUE(dialog.problem().startsWith("backwards.gpx:4: ")) << dialog.problem().toStdString();
    EXPECT_FALSE(dialog.applyButton()->isEnabled());
    dialog.setTrack("gps/789_ride.gpx");
    dialog.setSyncMarks("120", "4000=130");
    EXPECT_FALSE(dialog.preview()) << "a mark without its time";
    EXPECT_TRUE(dialog.problem().contains("FRAME=TIME")) << dialog.problem().toStdString();

    // The demo's own track: the curve from it follows the route's within a few km/h.
    dialog.setOffset(3);
    ASSERT_TRUE(dialog.preview()) << dialog.problem().toStdString();
    EXPECT_TRUE(dialog.applyButton()->isEnabled());
    EXPECT_TRUE(dialog.summary().contains("[SpeedUnit]: ")) << dialog.summary().toStdString();
    ASSERT_EQ(dialog.nowSeries()->count(), dialog.trackSeries()->count());
    ASSERT_GT(dialog.trackSeries()->count(), 100);
    int close = 0;
    for (int i = 0; i < dialog.trackSeries()->count(); ++i)
        close += std::abs(dialog.trackSeries()->at(i).y() - dialog.nowSeries()->at(i).y()) <= 5;
    EXPECT_GT(close, dialog.trackSeries()->count() * 8 / 10);
    EXPECT_EQ(doc.bytes(), before) << "nothing changes before Apply";
    dialog.show();
    shoot(dialog, "editor-gps-import.png");

    // Once previewed, a new offset is previewed at once (the track's speed
    // slides against the route's); any other change asks for a new preview.
    const QList<QPointF> atThree = dialog.trackSeries()->points();
    dialog.setOffset(4);
    EXPECT_TRUE(dialog.applyButton()->isEnabled());
    EXPECT_NE(dialog.trackSeries()->points(), atThree) << "the curve follows the offset";
    dialog.setSyncMarks("120=3", "4000=130");
    EXPECT_FALSE(dialog.applyButton()->isEnabled());
    dialog.setOffset(4);
    ASSERT_TRUE(dialog.preview());
    dialog.apply();
    EXPECT_NE(doc.bytes(), before);
    EXPECT_TRUE(doc.modified());
    ASSERT_TRUE(doc.undo());
    EXPECT_EQ(doc.bytes(), before) << "the whole import undoes at once";
}

TEST(RouteEditor, TablesAndTheLineFormRefuseWhatTheReaderWouldAndShowTimesAsClockTimes) {
    DemoCopy demo;
    auto w = openEditor("789");
    RouteDocument& doc = w->document();
    auto* stations = w->table(TableKind::Station)->model();
    // departureTime (column 5) as a clock time, edited as one.
    EXPECT_EQ(stations->data(stations->index(0, 5), Qt::DisplayRole).toString().size(), 8);
    EXPECT_TRUE(stations->data(stations->index(0, 5), Qt::DisplayRole).toString().contains(':'));
    ASSERT_TRUE(stations->setData(stations->index(0, 5), "08:01:30", Qt::EditRole));
    EXPECT_EQ(doc.route().stationTable[0].departureTime, (8 * 3600 + 90) * 30);
    // A stop frame that is not a number: refused with why, nothing changes.
    const std::string before = doc.bytes();
    EXPECT_FALSE(stations->setData(stations->index(0, 2), "soon", Qt::EditRole));
    EXPECT_EQ(doc.bytes(), before);
    EXPECT_FALSE(w->statusBar()->currentMessage().isEmpty()) << "the reason is shown";

    // The line form: a frame rate the reader refuses is put back, with why.
    auto* rate = w->singleValues()->findChild<QLineEdit*>("[FrameRate]");
    ASSERT_TRUE(rate);
    const QString was = rate->text();
    rate->setText("0");
    emit rate->editingFinished();
    EXPECT_EQ(rate->text(), was);
    EXPECT_FALSE(w->singleValues()->findChild<QLabel*>("problem")->text().isEmpty());
    // "From the video": the end of the line at the video's last frame.
    w->singleValues()->findChild<QPushButton*>("endFromVideo")->click();
    EXPECT_EQ(doc.route().lineEnd(), w->video()->frameCount() - 1);
    ASSERT_TRUE(doc.undo());
    EXPECT_FALSE(doc.route().hasEndPosition) << "the demo route has no [EndPos] of its own";

    // Delete the selected row, and undo it.
    const int rows = doc.rowCount(TableKind::Sign);
    ASSERT_GT(rows, 0);
    w->showRow(TableKind::Sign, 0, true);
    w->action("delete")->trigger();
    EXPECT_EQ(doc.rowCount(TableKind::Sign), rows - 1);
    EXPECT_EQ(w->table(TableKind::Sign)->model()->rowCount(), rows - 1);
    w->action("undo")->trigger();
    EXPECT_EQ(doc.rowCount(TableKind::Sign), rows);
}

TEST(RouteEditor, TheTimelineZoomsFromTheWholeRouteToSingleFramesAndClicksMoveTheCursor) {
    DemoCopy demo;
    auto w = openEditor("40");
    Timeline* t = w->timeline();
    t->zoomToAll();
    const QRect lane = t->laneRect(TableKind::Tunnel);
    EXPECT_EQ(t->firstFrame(), 0);
    EXPECT_GE(t->frameAt(lane.right()), t->frameCount() - 1 - int(t->framesPerPixel()) - 1) << "all of it in sight";
    for (int i = 0; i < 20; ++i) w->action("zoomIn")->trigger();
    EXPECT_DOUBLE_EQ(t->framesPerPixel(), 1.0 / 8) << "no closer than 8 pixels a frame";
    EXPECT_EQ(t->xOf(w->cursorFrame() + 1) - t->xOf(w->cursorFrame()), 8);
    // A click on an empty stretch of a lane moves the cursor there, and the video with it.
    const QPoint empty(t->xOf(w->cursorFrame() + 3) + 2, lane.center().y());
    const int target = t->frameAt(empty.x());
    QTest::mouseClick(t, Qt::LeftButton, {}, empty);
    EXPECT_EQ(w->cursorFrame(), target);
    EXPECT_EQ(w->video()->frame(), target);
    // Far away the view follows the cursor.
    w->setCursorFrame(4000);
    EXPECT_GE(4000, t->firstFrame());
    EXPECT_LE(t->xOf(4000), lane.right());
    w->action("zoomAll")->trigger();
    EXPECT_EQ(t->firstFrame(), 0);
}

TEST(RouteEditor, PlayingFollowsTheRecordedPaceAndATestDriveOfABrokenRouteIsRefused) {
    DemoCopy demo;
    Devices devices;
    auto w = openEditor("789");
    const int from = w->cursorFrame();
    w->action("play")->trigger();
    EXPECT_TRUE(w->video()->playing());
    EXPECT_TRUE(QTest::qWaitFor([&] { return w->cursorFrame() >= from + 15; }, 20000)) << "half a second of video";
    w->action("play")->trigger();
    EXPECT_FALSE(w->video()->playing());
    const int stopped = w->cursorFrame();
    QTest::qWait(100);
    EXPECT_EQ(w->cursorFrame(), stopped);

    // A route that would not load: the editor says so and drives nothing.
    ASSERT_TRUE(w->document().setSingle(edit::SingleValue::StaffImage, "image\\missing.bmp", nullptr));
    bool drove = false;
    w->onTestDriveShown = [&](TForm1& form) {
        drove = true;
        form.close();
    };
    QString shown;
    QTimer::singleShot(0, [&] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            if (auto* m = qobject_cast<QMessageBox*>(box)) shown = m->text();
            box->close();
        }
    });
    w->action("testDrive")->trigger();
    EXPECT_FALSE(drove);
    EXPECT_TRUE(shown.contains("error")) << shown.toStdString();
}

TEST(RouteEditor, OpenRouteSwitchesToAnotherRouteInAWindowOfItsOwn) {
    DemoCopy demo;
    auto w = openEditor("789");
    // The route list's dialog is answered as a user would: pick 40.
    QTimer::singleShot(0, [] {
        if (auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget())) {
            dialog->setTextValue("40");
            dialog->accept();
        }
    });
    w->action("openRoute")->trigger();
    EXPECT_FALSE(w->isVisible()) << "the first window closed";
    EditorWindow* next = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* e = qobject_cast<EditorWindow*>(top); e && e != w.get() && e->isVisible()) next = e;
    ASSERT_TRUE(next);
    EXPECT_TRUE(next->windowTitle().startsWith("40_line.txt")) << next->windowTitle().toStdString();
    EXPECT_EQ(next->document().bytes(), readFile("40_line.txt"));
    next->close();
}

namespace {

// Answers the next question box by clicking the button of that name, after a screenshot.
void answerBox(const char* box, const char* button, const char* shot) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, box, button, shot] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->objectName() != box || !w->isVisible()) continue;
            if (shot) shoot(*w, shot);
            if (auto* b = w->findChild<QPushButton*>(button)) {
                timer->stop();
                timer->deleteLater();
                b->click();
            }
        }
    });
    timer->start(50);
}

}  // namespace

// The author's first hour: an empty folder, a video somewhere else, a new
// route with a station, a signal and a limit, saved, checked and driven with
// every picture on view.
TEST(RouteEditor, ARouteMadeInAnEmptyFolderFromAVideoAloneIsCompleteAndDrivesWithItsPictures) {
    test::TempDir folder, elsewhere;
    const std::string video = (elsewhere.path() / "ride.mp4").string();
    std::filesystem::copy_file(std::string(TRAINSIM_DEMO) + "/video/789.mp4", video);
    test::ScopedCwd cwd(folder.path());

    answerBox("videoPlacement", "copy", "copy-into-folder.png");
    QString why;
    bool asked = false;
    auto route = openRoute({"KT1", video, "789", TRAINSIM_DEMO}, nullptr, &why, &asked);
    ASSERT_TRUE(route) << why.toStdString();
    EXPECT_EQ(route->doc.single(edit::SingleValue::VideoFile), "video/ride.mp4") << "named inside the folder";
    EXPECT_TRUE(std::filesystem::is_regular_file("video/ride.mp4"));
    EXPECT_TRUE(std::filesystem::is_regular_file(video)) << "copied, not moved";
    for (const char* f : {"KT1_line.txt", "KT1_train.txt", "string.txt", "mascon.txt", "operation.txt"})
        EXPECT_TRUE(std::filesystem::is_regular_file(f)) << f;

    Devices devices;
    EditorWindow w(std::move(route->doc), "KT1", route->path);
    w.askOnClose = false;
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    w.setCursorFrame(2000);
    w.addRow(TableKind::Station);
    w.setCursorFrame(1200);
    w.addRow(TableKind::Signal);
    w.setCursorFrame(1600);
    w.addRow(TableKind::SpeedLimit);
    w.checks()->checkNow();
    EXPECT_EQ(w.checks()->errors(), 0);
    EXPECT_EQ(w.checks()->warnings(), 0) << w.checks()->item(0)->text().toStdString();
    QString error;
    ASSERT_TRUE(w.save(&error)) << error.toStdString();

    // The folder alone is the data set: moved elsewhere, it checks clean and drives.
    test::TempDir moved;
    std::filesystem::copy(folder.path(), moved.path() / "KT1", std::filesystem::copy_options::recursive);
    const Program check = runTrainsim("check --data " + (moved.path() / "KT1").string() + " KT1");
    EXPECT_EQ(check.status, 0) << check.out;
    EXPECT_NE(check.out.find("0 errors, 0 warnings"), std::string::npos) << check.out;
    // Standing before the signal, at the limit's notice and in the station: each picture is drawn.
    const QByteArray shots = qgetenv("TRAINSIM_SCREENSHOTS");
    const std::string shot =
        shots.isEmpty() ? std::string() : "@900 snapshot " + shots.toStdString() + "/new-route-first-signal.png\n";
    const auto r = test::drive((moved.path() / "KT1").string(), "KT1",
                               "@0 start\n@100 goto 1100\n" + shot + "@1000 goto 1700\n@2000 goto 2000\n@3000 close\n");
    ASSERT_EQ(r.status, 0) << r.err;
    // The picture in the last trace line at that position (the steps draw it after the move).
    auto imageAt = [&](int position, const std::string& image) {
        std::string shown = "never there";
        for (const auto& line : r.lines)
            if (test::field(line, "trainPosition") == std::to_string(position)) {
                const auto at = line.find("\"" + image + "\":");
                shown = at == std::string::npos ? "absent" : line.substr(at + image.size() + 3, 4);
            }
        return shown;
    };
    auto drawn = [](const std::string& shown) {
        return !shown.empty() && std::isdigit(static_cast<unsigned char>(shown[0]));
    };
    EXPECT_TRUE(drawn(imageAt(1100, "SignalImage"))) << imageAt(1100, "SignalImage");
    EXPECT_TRUE(drawn(imageAt(1700, "SpeedLimitImage"))) << imageAt(1700, "SpeedLimitImage");
    EXPECT_TRUE(drawn(imageAt(2000, "stop"))) << imageAt(2000, "stop");
}

TEST(RouteEditor, AVideoOutsideTheFolderMayBeMovedInOrLeftAndIsAlwaysNamedRelatively) {
    test::TempDir root;
    std::filesystem::create_directories(root.path() / "data");
    std::filesystem::create_directories(root.path() / "rides");
    test::ScopedCwd cwd(root.path() / "data");
    const auto ride = root.path() / "rides" / "a.mp4";
    std::ofstream(ride) << "not really a video, but bytes to move";
    EXPECT_FALSE(insideDataFolder(ride.string()));
    EXPECT_EQ(nameInDataFolder(ride.string()), "../rides/a.mp4");

    answerBox("videoPlacement", "leave", nullptr);
    QString why;
    EXPECT_EQ(placeVideo(ride.string(), nullptr, &why).value_or("?"), "../rides/a.mp4");
    answerBox("videoPlacement", "move", nullptr);
    EXPECT_EQ(placeVideo(ride.string(), nullptr, &why).value_or("?"), "video/a.mp4") << why.toStdString();
    EXPECT_FALSE(std::filesystem::exists(ride));
    EXPECT_EQ(readFile("video/a.mp4"), "not really a video, but bytes to move");
    EXPECT_TRUE(insideDataFolder("video/a.mp4"));

    // A link inside the folder to a video outside is outside.
    std::ofstream(root.path() / "rides" / "b.mp4") << "b";
    std::filesystem::create_symlink(root.path() / "rides" / "b.mp4", "link.mp4");
    EXPECT_FALSE(insideDataFolder("link.mp4"));
    // A copy over a file that is there is refused, and the old file stays.
    EXPECT_FALSE(bringVideoIn((root.path() / "rides" / "b.mp4").string(), "video/a.mp4", false, nullptr, &why));
    EXPECT_NE(why.indexOf("exists already"), -1) << why.toStdString();
    EXPECT_EQ(readFile("video/a.mp4"), "not really a video, but bytes to move");
}

TEST(RouteEditor, TheEditCommandMakesANewRouteFromAVideoNamedFromTheCurrentFolder) {
    DemoCopy demo;
    std::filesystem::create_directories("empty");
    // A missing video is named, with status 1 and nothing made.
    const Program missing =
        runTrainsim("edit --data empty KT1 --video nothere.mp4 --train-from 789 -platform offscreen");
    EXPECT_EQ(missing.status, 1) << missing.out;
    EXPECT_NE(missing.out.find("nothere.mp4 does not exist"), std::string::npos) << missing.out;
    EXPECT_FALSE(std::filesystem::exists("empty/KT1_line.txt"));
    // The data folder has the train: its files are copied into nothing new,
    // and video/789.mp4 (relative to where the command runs) is inside it.
    const Program p = runTrainsim(
        "edit --data . mine --video video/789.mp4 --train-from 789 -platform offscreen & "
        "pid=$!; for i in $(seq 1 600); do [ -f mine_line.txt ] && break; sleep 0.1; done; "
        "kill $pid; wait $pid; true");
    ASSERT_TRUE(std::filesystem::exists("mine_line.txt")) << p.out;
    EXPECT_NE(readFile("mine_line.txt").find("[Path]\nvideo/789.mp4\n"), std::string::npos);
    EXPECT_EQ(p.out.find("operation.txt"), std::string::npos) << p.out;
}

TEST(RouteEditor, ShiftCommaAndShiftPeriodStepTenFramesOnEveryLayout) {
    DemoCopy demo;
    auto w = openEditor("789");
    w->setCursorFrame(500);
    QTest::keyClick(w.get(), Qt::Key_Greater, Qt::ShiftModifier);  // a US layout's Shift+.
    EXPECT_EQ(w->cursorFrame(), 510);
    QTest::keyClick(w.get(), Qt::Key_Less, Qt::ShiftModifier);
    EXPECT_EQ(w->cursorFrame(), 500);
    QTest::keyClick(w.get(), Qt::Key_Period, Qt::ShiftModifier);
    EXPECT_EQ(w->cursorFrame(), 510);
    QTest::keyClick(w.get(), Qt::Key_Comma, Qt::ShiftModifier);
    EXPECT_EQ(w->cursorFrame(), 500);
}

TEST(RouteEditor, TheWindowSizeAndSplittersAreRememberedBetweenRuns) {
    DemoCopy demo;
    QList<int> sizes;
    {
        auto w = openEditor("789");
        w->resize(1111, 777);
        auto* split = w->findChild<QSplitter*>("leftAndRight");
        ASSERT_TRUE(split);
        split->setSizes({300, 800});
        sizes = split->sizes();
        w->close();
    }
    auto again = openEditor("789");
    EXPECT_EQ(again->size(), QSize(1111, 777));
    EXPECT_EQ(again->findChild<QSplitter*>("leftAndRight")->sizes(), sizes);
}
