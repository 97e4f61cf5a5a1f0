// The checker's devices as a real run has them: Qt's picture reader, the wave
// reader and the FFmpeg video reader (shared by `trainsim check` and the editor).
#pragma once
#include "check/data_check.h"

namespace ts {

CheckDevices realCheckDevices(PictureLoader& pictures);

}  // namespace ts
