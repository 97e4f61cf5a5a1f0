// Reads the train file (CODE_train.txt): the train's values, its traction and
// sound tables, and the cab panel sections.
#pragma once
#include <string>

#include "data/diagnostics.h"
#include "data/train_data.h"
#include "devices/messages.h"

namespace ts {

// Any error shows "車両ファイルに誤りがあります" followed by the section label
// (or one of the consistency messages) and ends the program (FatalError).
// With `diagnostics` every problem is recorded there instead and reading
// carries on.
void readTrainFile(const std::string& path, TrainData& train, PictureLoader& pictures, MessageBoxes& boxes,
                   Diagnostics* diagnostics = nullptr);

}  // namespace ts
