// The editor's "Speed from the video": the analysis runs in the background and
// can be cancelled, the fitted curve and the standstills are previewed over
// the route's own curve, and Apply is one undoable step. The standstills found
// show on the timeline once the motion is cached beside the video.
#include <gtest/gtest.h>

#include <QDoubleSpinBox>
#include <QLineSeries>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <filesystem>

#include "cached_standstills.h"
#include "data/file_names.h"
#include "editor_window.h"
#include "gps_import_dialog.h"
#include "motion/motion_profile.h"
#include "speed_video_dialog.h"
#include "test_support.h"
#include "timeline.h"
#include "video_pane.h"

using namespace ts;
using namespace ts::editor;
using ts::edit::RouteDocument;

namespace {

struct DemoCopy {
    test::TempDir dir;
    std::unique_ptr<test::ScopedCwd> cwd;
    DemoCopy() {
        std::filesystem::copy(TRAINSIM_DEMO, dir.path(), std::filesystem::copy_options::recursive);
        cwd = std::make_unique<test::ScopedCwd>(dir.path());
    }
};

// Waits (events running) until the dialog's analysis has ended; false after the deadline.
bool analysisEnds(SpeedVideoDialog& d, bool& ok) {
    bool ended = false;
    const auto c = QObject::connect(&d, &SpeedVideoDialog::analysisEnded, [&](bool result) {
        ended = true;
        ok = result;
    });
    const bool done = QTest::qWaitFor([&] { return ended; }, 600'000);
    QObject::disconnect(c);
    return done;
}

// A cached motion for `video` that stands still at `stands` and moves elsewhere.
void writeMotion(const std::string& video, int frames, const std::vector<motion::Standstill>& stands) {
    motion::MotionProfile p;
    p.frames.resize(size_t(frames));
    for (int i = 0; i < frames; ++i) {
        motion::FrameMotion& m = p.frames[size_t(i)];
        m.down.fill(1.5f);
        m.moving = 1;
        for (const motion::Standstill& s : stands)
            if (s.contains(i)) m.down.fill(0), m.moving = 0;
    }
    ASSERT_TRUE(motion::writeCache(video, p));
}

}  // namespace

TEST(SpeedFromVideoDialog, AnalysesInTheBackgroundCancelsAndAppliesAsOneStep) {
    DemoCopy demo;
    std::string error;
    auto doc = RouteDocument::open("789_line.txt", &error);
    ASSERT_TRUE(doc) << error;
    EditorWindow w(std::move(*doc), "789", "789_line.txt");
    w.askOnClose = false;
    RouteDocument& d = w.document();
    const std::string before = d.bytes();
    const QString video = QString::fromStdString(resolveDataPath(d.route().videoFile));

    {
        SpeedVideoDialog cancelled(d, video);
        cancelled.analyse();
        cancelled.cancelAnalysis();
        bool ok = true;
        ASSERT_TRUE(analysisEnds(cancelled, ok));
        EXPECT_FALSE(ok);
        EXPECT_TRUE(cancelled.problem().contains("cancelled")) << cancelled.problem().toStdString();
        EXPECT_FALSE(cancelled.applyButton()->isEnabled());
        EXPECT_FALSE(std::filesystem::exists(motion::cachePath(video.toStdString()))) << "no cache of half a video";
    }

    SpeedVideoDialog dialog(d, video);
    EXPECT_FALSE(dialog.preview()) << "nothing to fit before the analysis";
    dialog.analyse();
    EXPECT_TRUE(dialog.analysing());
    bool ok = false;
    ASSERT_TRUE(analysisEnds(dialog, ok));
    ASSERT_TRUE(ok) << dialog.problem().toStdString();
    EXPECT_EQ(dialog.progressBar()->value(), dialog.progressBar()->maximum());
    EXPECT_TRUE(std::filesystem::exists(motion::cachePath(video.toStdString())));
    // Fitted to the stations' distances at once: the curve over the route's own.
    EXPECT_TRUE(dialog.applyButton()->isEnabled()) << dialog.problem().toStdString();
    EXPECT_TRUE(dialog.summary().contains("marks from stations")) << dialog.summary().toStdString();
    ASSERT_EQ(dialog.nowSeries()->count(), dialog.videoSeries()->count());
    ASSERT_GT(dialog.videoSeries()->count(), 100);
    int close = 0;
    for (int i = 0; i < dialog.videoSeries()->count(); ++i)
        close += std::abs(dialog.videoSeries()->at(i).y() - dialog.nowSeries()->at(i).y()) <= 10;
    EXPECT_GT(close, dialog.videoSeries()->count() * 7 / 10) << "the demo's own recorded run, roughly";
    EXPECT_EQ(d.bytes(), before) << "nothing changes before Apply";
    dialog.resize(900, 640);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    const QByteArray shots = qgetenv("TRAINSIM_SCREENSHOTS");
    if (!shots.isEmpty()) dialog.grab().save(QString::fromUtf8(shots) + "/editor-speed-from-video.png");

    const auto rowsBefore = d.route().speedUnitTable.size();
    dialog.apply();
    EXPECT_NE(d.bytes(), before);
    EXPECT_GT(d.route().speedUnitTable.size(), rowsBefore);
    d.undo();
    EXPECT_EQ(d.bytes(), before) << "one undo takes the whole fit back";
}

// The analysis thread reports its progress while it runs and stops when told,
// leaving no cache of half a video (quick enough for ThreadSanitizer).
TEST(SpeedFromVideoDialog, ProgressShowsWhileItRunsAndCancelStopsIt) {
    test::TempDir dir;
    std::filesystem::copy(TRAINSIM_MOTION_TEST, dir.path(), std::filesystem::copy_options::recursive);
    test::ScopedCwd cwd(dir.path());
    std::string error;
    auto doc = RouteDocument::open("MT_line.txt", &error);
    ASSERT_TRUE(doc) << error;
    const QString video = QString::fromStdString(resolveDataPath(doc->route().videoFile));
    SpeedVideoDialog dialog(*doc, video);
    dialog.analyse();
    EXPECT_TRUE(dialog.analysing());
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog.progressBar()->value() > 0 || !dialog.analysing(); }, 600'000));
    ASSERT_TRUE(dialog.analysing()) << "ended before it was cancelled: " << dialog.problem().toStdString();
    EXPECT_LT(dialog.progressBar()->value(), dialog.progressBar()->maximum());
    dialog.cancelAnalysis();
    bool ok = true;
    ASSERT_TRUE(analysisEnds(dialog, ok));
    EXPECT_FALSE(ok);
    EXPECT_TRUE(dialog.problem().contains("cancelled")) << dialog.problem().toStdString();
    EXPECT_FALSE(dialog.analysed());
    EXPECT_FALSE(dialog.applyButton()->isEnabled());
    EXPECT_FALSE(std::filesystem::exists(motion::cachePath(video.toStdString())));
}

// The GPS import's alignment aid: the offset that lays the video's standstills
// over the track's (the generator's track starts 3 s before frame 0), and the
// track's speed redrawn against the route's as the offset changes.
TEST(GpsImportAlignment, TheVideosStandstillsLineUpTheTrack) {
    test::TempDir dir;
    std::filesystem::copy(TRAINSIM_MOTION_TEST, dir.path(), std::filesystem::copy_options::recursive);
    test::ScopedCwd cwd(dir.path());
    std::string error;
    auto doc = RouteDocument::open("MT_line.txt", &error);
    ASSERT_TRUE(doc) << error;
    GpsImportDialog dialog(*doc, 2160);
    dialog.setVideoPath("video/MT.mp4");
    dialog.setTrack("gps/MT_ride.gpx");
    dialog.setOffset(9);  // a sync mark read 6 s out
    ASSERT_TRUE(dialog.preview()) << dialog.problem().toStdString();
    const QList<QPointF> before = dialog.trackSeries()->points();
    ASSERT_TRUE(dialog.alignByStandstills()) << dialog.problem().toStdString();
    EXPECT_TRUE(dialog.alignment().contains("4 standstills")) << dialog.alignment().toStdString();
    const double offset = dialog.findChild<QDoubleSpinBox*>("offset")->value();
    EXPECT_NEAR(offset, 3.0, 0.5) << dialog.alignment().toStdString();
    EXPECT_NE(dialog.trackSeries()->points(), before) << "the curve follows the offset";
    EXPECT_TRUE(dialog.applyButton()->isEnabled());
    dialog.resize(900, 700);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    const QByteArray shots = qgetenv("TRAINSIM_SCREENSHOTS");
    if (!shots.isEmpty()) dialog.grab().save(QString::fromUtf8(shots) + "/gps-import-alignment.png");

    // The analysis is kept beside the video: the editor shows its stands.
    auto again = RouteDocument::open("MT_line.txt", &error);
    ASSERT_TRUE(again) << error;
    EditorWindow w(std::move(*again), "MT", "MT_line.txt");
    w.askOnClose = false;
    EXPECT_EQ(w.timeline()->standstills().size(), 4u);
    w.resize(1360, 860);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    w.timeline()->zoomToAll();
    if (!shots.isEmpty()) w.grab().save(QString::fromUtf8(shots) + "/editor-standstill-lane.png");
}

// Read-only: the lane appears with a valid cache, a click on a stand or its
// stop range puts the cursor (and the video) on the stand's first frame, a
// click elsewhere on the lane moves the cursor as anywhere, and a video
// changed since its analysis shows none.
TEST(StandstillLane, ShownFromTheCachedMotionAndLeadsToTheStandsFirstFrame) {
    DemoCopy demo;
    std::string error;
    auto doc = RouteDocument::open("789_line.txt", &error);
    ASSERT_TRUE(doc) << error;
    const std::string video = resolveDataPath(doc->route().videoFile);
    {
        auto first = RouteDocument::open("789_line.txt", &error);
        ASSERT_TRUE(first) << error;
        EditorWindow bare(std::move(*first), "789", "789_line.txt");
        bare.askOnClose = false;
        EXPECT_TRUE(bare.timeline()->standstills().empty()) << "nothing analysed yet";
        EXPECT_TRUE(bare.timeline()->standstillRect().isEmpty());
    }
    writeMotion(video, 3000, {{500, 589}, {1500, 1619}});
    EditorWindow w(std::move(*doc), "789", "789_line.txt");
    w.askOnClose = false;
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    Timeline* t = w.timeline();
    ASSERT_EQ(t->standstills().size(), 2u);
    EXPECT_EQ(t->standstills()[1].first, 1500);
    EXPECT_EQ(t->standstills()[1].last, 1619);
    const QRect lane = t->standstillRect();
    ASSERT_FALSE(lane.isEmpty());
    EXPECT_EQ(t->laneRect(edit::TableKind::SpeedUnit).top(), lane.bottom() + 1) << "the curve below the lane";

    t->setFramesPerPixel(2);
    w.setCursorFrame(1400);
    QTest::mouseClick(t, Qt::LeftButton, {}, QPoint(t->xOf(1560), lane.center().y()));
    EXPECT_EQ(w.cursorFrame(), 1500);
    EXPECT_EQ(w.video()->frame(), 1500);
    w.setCursorFrame(1300);
    QTest::mouseClick(t, Qt::LeftButton, {}, QPoint(t->xOf(1460), lane.center().y()));
    EXPECT_EQ(w.cursorFrame(), 1500) << "the stop range around the stand leads to it too";
    const QPoint away(t->xOf(1700), lane.center().y());
    const int target = t->frameAt(away.x());
    QTest::mouseClick(t, Qt::LeftButton, {}, away);
    EXPECT_EQ(w.cursorFrame(), target);
    const std::string before = w.document().bytes();
    EXPECT_EQ(w.document().bytes(), before) << "the lane changes nothing in the route";

    // The video changed since: its old motion says nothing about it.
    std::filesystem::last_write_time(video, std::filesystem::last_write_time(video) + std::chrono::seconds(5));
    w.readStandstills();
    EXPECT_TRUE(t->standstills().empty());
    EXPECT_TRUE(t->standstillRect().isEmpty());
}

// The analysis counts the file's frames; a route aligned to another copy of
// the video ([VideoAlignment]) sees the stands at its own frames.
TEST(StandstillLane, StandsFollowTheRoutesVideoAlignment) {
    test::TempDir dir;
    const std::string video = (dir.path() / "v.mp4").string();
    dir.write("v.mp4", "not really a video: only its size and time key the cache");
    writeMotion(video, 2000, {{500, 589}, {60, 130}});
    RouteData route;
    EXPECT_EQ(cachedStandstills(route, video).size(), 2u);
    route.videoOffset = 100;
    route.videoRate = 2 * kVideoRateUnit;  // the file runs twice as fast as the route's frames
    const auto stands = cachedStandstills(route, video);
    ASSERT_EQ(stands.size(), 2u);
    EXPECT_EQ(stands[0].first, 0);
    EXPECT_EQ(stands[0].last, 15);
    EXPECT_EQ(stands[1].first, 200);
    EXPECT_EQ(stands[1].last, 244);
    EXPECT_TRUE(cachedStandstills(route, (dir.path() / "other.mp4").string()).empty());
}
