// The paint routine of the driver's view on a whole run.
#include <gtest/gtest.h>

#include "run_fixture.h"

using namespace ts;
using namespace ts::test;

namespace {

struct View : RunFixture {
    ViewFrame frame;
    View() {
        load(
            "[Path]\nvideo.avi\n[StartPos]\n100\n[FrameRate]\n30\n[StartTime]\n0\n[OneMan]\n1\n"
            "[Station]\nA,0,90,110,0,900,800,0\nB,0,3000,3020,0,900,800,0\nC,0,4000,4020,0,0,0,0\n#\n"
            "[SpeedUnit]\n0,5000,60,60\n#\n",
            "[Handle]\n0\n[BrakeType]\n1\n[Brake]\n8\n[Power]\n1\n[Tons]\n100\n[Cars]\n1\n[MaxSpeed]\n120\n");
    }
    bool paint() { return run->paintView(frame); }
};

}  // namespace

TEST(DriverView, StandingTrainDecodesNothing) {
    View v;
    ASSERT_FALSE(v.fatal);
    EXPECT_EQ(v.video.opened.size(), 1u);
    v.run->simulationStep();
    EXPECT_TRUE(v.paint()) << "the first paint always happens";
    EXPECT_EQ(v.video.requested, std::vector<int>{100});
    for (int i = 0; i < 20; ++i) {
        v.run->simulationStep();
        EXPECT_FALSE(v.paint());
    }
    EXPECT_EQ(v.video.requested.size(), 1u);
}

TEST(DriverView, StationJumpDecodesOnlyItsTargetAndResetsTheStopDistance) {
    View v;
    v.run->simulationStep();
    v.paint();
    v.run->StationClick("Sta1");
    v.set([](ts::Run& r, PanelModel&) { r.stopDistance = 5000; });
    v.run->simulationStep();
    EXPECT_EQ(v.get([](ts::Run& r, PanelModel&) { return r.viewJumpPending; }), 1);
    EXPECT_TRUE(v.paint());
    EXPECT_EQ(v.video.requested, (std::vector<int>{100, 3010}));
    EXPECT_EQ(
        v.get([](ts::Run& r, PanelModel&) { return std::make_pair(int(r.viewJumpPending), double(r.stopDistance)); }),
        std::make_pair(0, 0.0));
}

TEST(DriverView, PositionPastTheEndKeepsTheLastFrame) {
    View v;
    v.run->simulationStep();
    v.paint();
    const uint32_t shown = v.frame.pixels[0];
    v.set([](ts::Run& r, PanelModel&) { r.trainPosition = 6000; });
    v.run->simulationStep();
    v.paint();
    EXPECT_EQ(v.video.requested.back(), 6000);
    EXPECT_EQ(v.frame.pixels[0], shown);
}
