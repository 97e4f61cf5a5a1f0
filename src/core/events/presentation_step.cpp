// Timer1Timer: the 100 ms event-and-presentation step, in its fixed order.
#include "driving_run.h"
#include "dynamics/air_brake.h"
#include "events/cab_panel.h"
#include "events/clock.h"
#include "events/signals.h"
#include "events/signs.h"
#include "events/sound_schedule.h"
#include "events/stations.h"

namespace ts {

void DrivingRun::timer1Timer() {
    Run& r = run_;
    PanelModel& p = panel_;
    TDDSD& sound = services_.sound;
    r.presentationTicks += 1;                              // 1
    needles(r, r, r, r, p);                                // 2
    digitalSpeed(r, p);                                    // 3
    brakeSqueal(r, r, r, r, r, sound);                     // 4
    doorLamp(r, r, p, sound);                              // 5
    showOtherPictures(p);                                  // 6
    panelLamps(r, r, r, r, p);                             // 7
    timetableSlide(r, p);                                  // 8
    speedLimitBlink(r, r, p);                              // 9
    if (r.presentationTicks % 10 == 0) timecalc(r, r, p);  // 10
    compressor(r, r, sound);                               // 11
    routeSounds(r, r, r, r, sound);                        // 12
    gradientSign(r, r, r, p);                              // 13
    tunnelPanel(r, r, p);                                  // 14
    cabSignalDisplay(r, r, r, r, r, p, sound);             // 15
    speedControl(r, r, r, r, r, r, p);
    automaticTrainStop(r, r, r, r, r, r, p, sound);
    speedLimitSigns(r, r, r, p);  // 16
    speedChecks(r, r, r);
    stationScan(r, r, r, r, r, p, sound);  // 17
    vigilanceDevice(r, r, r, r, r, r, p, sound);
    stopSounds(r, r, r, sound);  // 18
    otherSigns(r, r, r, p);      // 19
    driveSounds(r, r, sound);    // 20
    motorSounds(r, r, r, r, sound);
    dieselEngine(r, r, r, r, r, p, sound);
    gearIndicator(r, r, r, r, p);                                                      // 21
    stopDistanceMarker(r, p);                                                          // 22
    windowCaption(r, p);                                                               // 23
    if (services_.host.isShown(AuxWindow::ValueDisplay)) valueDisplay(r, r, r, r, p);  // 24
    if (endOfLine(r, r)) endOfLineReached_ = true;                                     // 25
}

}  // namespace ts
