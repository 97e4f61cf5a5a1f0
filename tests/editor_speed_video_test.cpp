// The editor's "Speed from the video": the analysis runs in the background and
// can be cancelled, the fitted curve and the standstills are previewed over
// the route's own curve, and Apply is one undoable step.
#include <gtest/gtest.h>

#include <QDoubleSpinBox>
#include <QLineSeries>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <filesystem>

#include "data/file_names.h"
#include "editor_window.h"
#include "gps_import_dialog.h"
#include "motion/motion_profile.h"
#include "speed_video_dialog.h"
#include "test_support.h"

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
}
