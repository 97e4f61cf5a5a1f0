// The program's windows, created at start and living until it ends.
#pragma once
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "devices/messages.h"
#include "devices/sound_device.h"

namespace ts {

class TForm1;
class TForm3;
class TForm4;
class TForm5;
class TimerFactory;

struct AppState {
    TForm5* title = nullptr;
    TForm4* help = nullptr;
    TForm3* valueDisplay = nullptr;
    TForm1* current = nullptr;  // the current driving window, none until a train is picked
    MessageBoxes* boxes = nullptr;
    TimerFactory* timers = nullptr;
    // Makes the sound device of a new driving window.
    std::function<std::unique_ptr<TDDSD>()> makeSound;
    // Driving windows start their painting thread (not in the drive mode, which paints after each step).
    bool startPainter = true;
    // Driving windows read game controllers (not in the drive mode, whose
    // controller input is its script's).
    bool gameControllers = true;
    // How driving windows are shown (Display menu, --scale, --smooth): the
    // window's scale, 0 for full screen; the view mixed between frames.
    double viewScale = 1;
    bool smoothView = true;
    // The file the next driving window records its run to (--record, or asked for during a run), empty for none.
    std::string recordTo;
    // A quit signal came: the run being closed shows no report.
    bool quitting = false;
};

// A --scale argument: "1", "1.5", "2", "3" or "full" (0); nothing when it is none of them.
std::optional<double> parseViewScale(const std::string& text);
// A --smooth argument: "on" or "off".
std::optional<bool> parseSmoothView(const std::string& text);

AppState& app();

}  // namespace ts
