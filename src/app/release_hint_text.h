// The driving window's line that says what releases a protection brake or
// ends a vigilance warning, in the program's own language.
#pragma once
#include <QString>

#include "events/release_hint.h"

namespace ts {

// Empty for ReleaseHint::None.
QString releaseHintText(ReleaseHint hint);

}  // namespace ts
