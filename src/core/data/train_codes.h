// The train codes a data folder offers: every code whose route file and
// train file are both there, found the way a run opens them (any case).
#pragma once
#include <string>
#include <vector>

namespace ts {

// Codes in `dir` with both CODE_line.txt and CODE_train.txt, sorted; the
// code keeps the spelling of its route file's name.
std::vector<std::string> trainCodesIn(const std::string& dir);

// True when CODE_line.txt and CODE_train.txt are both in `dir`.
bool hasTrainCode(const std::string& dir, const std::string& code);

}  // namespace ts
