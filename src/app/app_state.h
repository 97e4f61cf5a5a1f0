// The program's windows, created at start and living until it ends.
#pragma once
#include "messages.h"

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
};

AppState& app();

}  // namespace ts
