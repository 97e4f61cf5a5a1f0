// The checker's drive of the preceding train: a train keeping to the recorded
// speed and the station times meets a signal at stop when the preceding train
// starts too short a time ahead, and the [Pre_Time] it names does clear it.
#include <gtest/gtest.h>

#include "check/signal_warnings.h"
#include "edit/route_document.h"

using namespace ts;
using namespace ts::edit;

TEST(SignalCheck, TheDefaultSignalIsMetAtStopAndTheNamedHeadStartClearsIt) {
    // 9000 frames at 40 km/h; the start at frame 30, the doors closing at
    // 08:00:30; the preceding train 60 s ahead.
    RouteDocument doc = RouteDocument::fresh("video/ride.mp4", 9000);
    EXPECT_TRUE(signalsMetRestricted(doc.route()).empty()) << "a new route's preceding train has left the line";
    ASSERT_TRUE(doc.setSingle(SingleValue::PreTime, "60", nullptr));
    const int row = doc.addRow(TableKind::Signal, 3000);  // check point at 2990
    ASSERT_EQ(doc.route().signalTable.at(size_t(row)).checkPosition, 2990);
    auto met = signalsMetRestricted(doc.route());
    ASSERT_EQ(met.size(), 1u);
    EXPECT_EQ(met[0].row, row + 1);
    EXPECT_EQ(met[0].aspect, 0) << "the last block runs to the end of the line: stop";
    // At 2990 the follower has stood 30 s and run 2960 frames: 3860 ticks. The
    // preceding train must then be beyond 8999: 30 + 30 p + 3860 > 8999.
    EXPECT_EQ(met[0].clearingPreTime, 171);

    ASSERT_TRUE(doc.setSingle(SingleValue::PreTime, "171", nullptr));
    EXPECT_TRUE(signalsMetRestricted(doc.route()).empty());
    ASSERT_TRUE(doc.setSingle(SingleValue::PreTime, "170", nullptr));
    EXPECT_EQ(signalsMetRestricted(doc.route()).size(), 1u);
}

TEST(SignalCheck, TheBlockAheadRestrictsAndStopsAndTheFrameRateCount) {
    RouteDocument doc = RouteDocument::fresh("video/ride.mp4", 9000);
    doc.addRow(TableKind::Signal, 3000);
    doc.addRow(TableKind::Signal, 6000);
    EXPECT_TRUE(signalsMetRestricted(doc.route()).empty());
    // 100 s ahead the preceding train is in the second block (6890) when the
    // follower checks the first signal: Y there; gone by the second.
    ASSERT_TRUE(doc.setSingle(SingleValue::PreTime, "100", nullptr));
    auto met = signalsMetRestricted(doc.route());
    ASSERT_EQ(met.size(), 1u);
    EXPECT_EQ(met[0].row, 1);
    EXPECT_EQ(met[0].aspect, 2);
    EXPECT_EQ(met[0].clearingPreTime, 171);

    // A stop before the signal whose doors close at 08:05:00 holds the
    // follower back long enough for the preceding train to leave the line.
    ASSERT_TRUE(doc.setSingle(SingleValue::PreTime, "60", nullptr));
    EXPECT_EQ(signalsMetRestricted(doc.route()).size(), 2u);
    const int st = doc.addRow(TableKind::Station, 2000);
    ASSERT_TRUE(doc.setText(TableKind::Station, st, 5, "08:04:50", nullptr));
    ASSERT_TRUE(doc.setText(TableKind::Station, st, 6, "08:05:00", nullptr));
    EXPECT_TRUE(signalsMetRestricted(doc.route()).empty());
    doc.removeRow(TableKind::Station, st);

    // [FrameRate] 15: the preceding train runs a frame every two ticks, and
    // needs a longer head start: 30 + 30 p + 3860 / 2 > 8999.
    doc.removeRow(TableKind::Signal, 1);
    ASSERT_TRUE(doc.setSingle(SingleValue::FrameRate, "15", nullptr));
    met = signalsMetRestricted(doc.route());
    ASSERT_EQ(met.size(), 1u);
    EXPECT_EQ(met[0].clearingPreTime, 235);

    // A fixed signal is the author's choice and is not judged.
    ASSERT_TRUE(doc.setText(TableKind::Signal, 0, 0, "2", nullptr));
    EXPECT_TRUE(signalsMetRestricted(doc.route()).empty());
}
