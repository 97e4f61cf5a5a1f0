// The serial port's settings dialog ("Setup").
#pragma once
#include "com_port.h"

class QWidget;

namespace ts {

// Shows the dialog; true when OK changed `settings`.
bool runSetupDialog(QWidget* parent, PortSettings& settings);

}  // namespace ts
