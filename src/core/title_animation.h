// The title screen's picture buttons and their slide-in animation.
#pragma once

namespace ts {

struct TitleButtons {
    int train1Left = 640;
    int train2Left = 795;
    int quitTop = 638;
    int helpTop = 638;

    // One 100 ms tick; returns false when the animation has ended (the timer stops).
    bool tick();
    // The animation's end positions, as when a train is picked.
    void finish();
};

}  // namespace ts
