// The live link's messages about the run: the "hello" a client gets on
// connecting and the state sent after every 100 ms step. Values carry the
// trace's names and units, so a client and the trace agree to the byte.
#pragma once
#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "panel_model.h"
#include "run.h"

namespace ts {

// The version of the messages documented in docs/live-link.md.
constexpr int kLinkProtocolVersion = 1;

// One state message as its top-level members (name, JSON text), so that a
// client that asked for fewer fields gets only those.
struct LinkState {
    std::vector<std::pair<std::string, std::string>> members;
    // The whole message, or only `fields` (with "type", "v", "t" and "step" always).
    std::string json(const std::set<std::string>* fields = nullptr) const;
};

struct LinkMoment {
    int64_t t = 0;                      // the run's clock, ms
    std::string hint;                   // the release hint line, when one shows
    std::vector<std::string> messages;  // the run's messages that appeared since the last step
};

LinkState linkState(const LinkMoment& m, const Run& run, const PanelModel& panel);
std::string linkHello(const Run& run, const PanelModel& panel, bool control);
// {"type":"error","error":WHY}, {"type":"end","reason":WHY}, {"type":"warning","warning":WHY}
std::string linkReply(const std::string& type, const std::string& key, const std::string& text);

}  // namespace ts
