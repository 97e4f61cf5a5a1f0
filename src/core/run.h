// The run's state: the process-wide variables of one driving run under their
// own names. Everything the steps and handlers share lives here.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "data/string_table.h"

namespace ts {

struct Run {
    // Driving run
    std::string trainCode;
    uint8_t inputLocked = 0;
    uint8_t viewJumpPending = 0;

    // String table and controller map
    std::array<std::string, kHandleLabelCount> handleLabelTexts;
    std::vector<std::string> controllerCodes;

    // Motion
    long double stopDistance = 0;  // centimetres to the next stop position
};

// Visits every traced run variable by name.
class RunFieldVisitor {
public:
    virtual ~RunFieldVisitor() = default;
    virtual void integer(const char* name, int64_t value) = 0;
    virtual void real(const char* name, long double value) = 0;
    virtual void text(const char* name, const std::string& value) = 0;
};

void visitRunFields(const Run& run, RunFieldVisitor& v);

}  // namespace ts
