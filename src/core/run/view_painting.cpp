// The paint routine of the driver's view.
#include "run/driving_run.h"

namespace ts {

bool DrivingRun::paintView(ViewFrame& frame, bool decode) {
    int32_t wanted;
    {
        std::lock_guard lock(mutex_);
        if (closed_ || run_.lastPaintedFrame == run_.paintFrame) return false;
        wanted = run_.paintFrame;
    }
    // Decoding takes milliseconds: the simulation step goes on meanwhile.
    if (decode) services_.video.getFrame(wanted, frame);
    std::lock_guard lock(mutex_);
    settlePaint(wanted);
    return true;
}

void DrivingRun::paintRecorded(int32_t frame) {
    std::lock_guard lock(mutex_);
    settlePaint(frame);
}

void DrivingRun::settlePaint(int32_t wanted) {
    // The frame was read before decoding; the step may have moved the train since.
    if (recorder_) recorder_->paint(wanted, wanted == run_.paintFrame);
    run_.lastPaintedFrame = wanted;
    ++framesPainted_;
    if (run_.viewJumpPending == 1) {
        run_.stopDistance = 0;
        run_.viewJumpPending = 0;
    }
}

}  // namespace ts
