#include <gtest/gtest.h>

#include "title_animation.h"

using namespace ts;

TEST(TitleAnimation, ButtonsLandAfter10_15And19Ticks) {
    TitleButtons b;
    int ticks = 0, train1At = 0, train2At = 0, quitAt = 0;
    bool running = true;
    while (running && ticks < 100) {
        running = b.tick();
        ++ticks;
        if (!train1At && b.train1Left == 330) train1At = ticks;
        if (!train2At && b.train2Left == 330) train2At = ticks;
        if (!quitAt && b.quitTop == 448) quitAt = ticks;
    }
    EXPECT_EQ(train1At, 10);
    EXPECT_EQ(train2At, 15);
    EXPECT_EQ(quitAt, 19);
    EXPECT_EQ(ticks, 19) << "the timer stops when Quit lands";
    EXPECT_EQ(b.helpTop, 448);
    EXPECT_EQ(b.train1Left, 330);
}

TEST(TitleAnimation, FinishJumpsToEndPositions) {
    TitleButtons b;
    b.tick();
    b.finish();
    EXPECT_EQ(b.train1Left, 330);
    EXPECT_EQ(b.train2Left, 330);
    EXPECT_EQ(b.quitTop, 448);
    EXPECT_EQ(b.helpTop, 448);
    EXPECT_FALSE(b.tick());
}
