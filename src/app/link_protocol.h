// What a live-link client may send: a driver command (a drive script's input
// line) or a subscription to fewer fields or a lower rate. Any other text is
// refused with a reason; nothing a client sends can reach the run unchecked.
#pragma once
#include <set>
#include <string>

#include "drive_script.h"

namespace ts {

// The largest message a client may send, in bytes.
constexpr int kLinkMaxMessage = 64 * 1024;

struct LinkRequest {
    enum class Kind { Command, Subscribe, Invalid };
    Kind kind = Kind::Invalid;
    ScriptCommand command;         // Command
    bool allFields = true;         // Subscribe: no "fields" given
    std::set<std::string> fields;  // Subscribe
    int every = 1;                 // Subscribe: one state message per this many steps
    std::string error;             // Invalid: why, for the error reply
};

LinkRequest parseLinkRequest(const std::string& text);

}  // namespace ts
