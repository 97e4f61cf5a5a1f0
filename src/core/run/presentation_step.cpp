// Timer1Timer: the 100 ms event-and-presentation step, in its fixed order.
#include "dynamics/air_brake.h"
#include "events/cab_panel.h"
#include "events/clock.h"
#include "events/signals.h"
#include "events/signs.h"
#include "events/sound_schedule.h"
#include "events/stations.h"
#include "run/driving_run.h"
#include "run/run_parts.h"

namespace ts {

void DrivingRun::timer1Timer() {
    Run& r = run_;
    const RunParts s = partsOf(r);
    PanelModel& p = panel_;
    TDDSD& sound = services_.sound;
    r.presentationTicks += 1;                                                        // 1
    needles(s.train, s.motion, s.traction, s.air, p);                                // 2
    digitalSpeed(s.motion, p);                                                       // 3
    brakeSqueal(s.train, s.motion, s.handles, s.air, s.levels, sound);               // 4
    doorLamp(s.train, s.stations, p, sound);                                         // 5
    showOtherPictures(p);                                                            // 6
    panelLamps(s.train, s.motion, s.handles, s.stations, p);                         // 7
    timetableSlide(s.options, p);                                                    // 8
    speedLimitBlink(s.signs, s.presentation, p);                                     // 9
    if (r.presentationTicks % 10 == 0) timecalc(s.train, s.motion, p);               // 10
    compressor(s.train, s.air, sound);                                               // 11
    routeSounds(s.route, s.train, s.motion, s.levels, sound);                        // 12
    gradientSign(s.route, s.motion, s.signs, p);                                     // 13
    tunnelPanel(s.route, s.motion, p);                                               // 14
    cabSignalDisplay(s.route, s.train, s.motion, s.protection, s.signal, p, sound);  // 15
    speedControl(s.route, s.train, s.texts, s.motion, s.handles, s.protection, p);
    automaticTrainStop(s.route, s.train, s.texts, s.motion, s.handles, s.protection, p, sound);
    speedLimitSigns(s.route, s.motion, s.signs, p);  // 16
    speedChecks(s.route, s.motion, s.protection);
    stationScan(s.route, s.train, s.texts, s.motion, s.stations, p, sound);  // 17
    vigilanceDevice(s.train, s.texts, s.motion, s.handles, s.options, s.protection, p, sound);
    stopSounds(s.route, s.train, s.motion, sound);  // 18
    otherSigns(s.route, s.motion, s.signs, p);      // 19
    driveSounds(s.motion, s.levels, sound);         // 20
    motorSounds(s.train, s.motion, s.handles, s.levels, sound);
    dieselEngine(s.train, s.motion, s.traction, s.handles, s.stations, p, sound);
    gearIndicator(s.train, s.traction, s.handles, s.presentation, p);                                            // 21
    stopDistanceMarker(s.motion, p);                                                                             // 22
    windowCaption(s.route, p);                                                                                   // 23
    if (services_.host.isShown(AuxWindow::ValueDisplay)) valueDisplay(s.train, s.motion, s.adhesion, s.air, p);  // 24
    if (endOfLine(s.route, s.motion)) endOfLineReached_ = true;                                                  // 25
}

}  // namespace ts
