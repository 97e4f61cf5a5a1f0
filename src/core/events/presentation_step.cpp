// Timer1Timer: the 100 ms event-and-presentation step, in its fixed order.
#include "driving_run.h"
#include "dynamics/air_brake.h"
#include "dynamics/traction.h"

namespace ts {

void DrivingRun::timer1Timer() {
    Run& r = run_;
    TDDSD& sound = services_.sound;
    // 1
    r.presentationTicks += 1;
    // 11: compressor
    compressor(r, sound);
    // 20: diesel engine
    dieselEngineModel(r);
}

}  // namespace ts
