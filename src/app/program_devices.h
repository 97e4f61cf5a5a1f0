// What every windowed part of the program sets up before a driving window can
// open: the message boxes, the timers, the sound device and the help and value
// windows (the title screen and the editor both drive trains).
#pragma once

namespace ts {

class QtMessageBoxes;
class QtTimerFactory;

// `boxes` and `timers` live as long as the program.
void installProgramDevices(QtMessageBoxes& boxes, QtTimerFactory& timers);

}  // namespace ts
