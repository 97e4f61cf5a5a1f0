#include "program_devices.h"

#include "app_state.h"
#include "help_window.h"
#include "qt_message_boxes.h"
#include "qt_timers.h"
#include "sound/openal_sound.h"
#include "value_window.h"

namespace ts {

void installProgramDevices(QtMessageBoxes& boxes, QtTimerFactory& timers) {
    app().boxes = &boxes;
    app().timers = &timers;
    app().makeSound = [] {
        auto sound = std::make_unique<OpenAlSound>(128);
        sound->errors.debugOption = 0;  // every sound error is silent in a run
        sound->startUp();
        return std::unique_ptr<TDDSD>(std::move(sound));
    };
    app().help = new TForm4;
    app().valueDisplay = new TForm3;
}

}  // namespace ts
