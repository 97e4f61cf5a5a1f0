#include "link_state.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "events/codes.h"
#include "json_writer.h"

namespace ts {

namespace {

// The run variables a panel shows, by their trace names.
constexpr std::array<std::string_view, 29> kRunFields = {
    "speed",           "clockTicks",          "stopDistance",        "trainPosition",    "bcPressure",
    "bcGaugePressure", "sapPressure",         "erPressure",          "mrPressure",       "powerNotch",
    "brakeNotch",      "effectivePowerNotch", "effectiveBrakeNotch", "reverser",         "holdPosition",
    "powerNotchCount", "brakeNotchCount",     "shownSignalAspect",   "nextSignalAspect", "shownSpeedLimit",
    "pointGradient",   "doorsOpen",           "doorLampLit",         "ebSetting",        "safetyEmergencyBrake",
    "atsServiceBrake", "atsBellRinging",      "ebDeviceIdleTicks",   "lineVoltage",
};

bool wanted(const char* name) {
    return std::find(kRunFields.begin(), kRunFields.end(), std::string_view(name)) != kRunFields.end();
}

std::string jsonInt(int64_t v) {
    JsonWriter w;
    w.value(v);
    return w.str();
}

// Collects the wanted run variables as members, written as the trace writes them.
class Picker final : public RunFieldVisitor {
public:
    explicit Picker(LinkState& s) : s_(s) {}
    void integer(const char* name, int64_t v) override {
        if (wanted(name)) s_.members.emplace_back(name, jsonInt(v));
    }
    void real(const char* name, long double v) override {
        if (!wanted(name)) return;
        JsonWriter w;
        w.value(v);
        s_.members.emplace_back(name, w.str());
    }
    void text(const char* name, const std::string& v) override {
        if (!wanted(name)) return;
        JsonWriter w;
        w.value(v);
        s_.members.emplace_back(name, w.str());
    }
    void flags(const char*, const uint8_t*, int) override {}
    void integers(const char*, const int32_t*, int) override {}
    void reals(const char*, const long double*, int) override {}
    void texts(const char*, const std::string*, int) override {}

private:
    LinkState& s_;
};

const char* signalClass(int image) {
    switch (aspectClass(image)) {
        case AspectClass::Stop: return "stop";
        case AspectClass::YY: return "yy";
        case AspectClass::Y: return "y";
        case AspectClass::YG: return "yg";
        case AspectClass::Clear: return "clear";
        case AspectClass::RepeaterCaution: return "repeater";
        default: return "other";
    }
}

bool isLamp(std::string_view name) { return name.substr(0, 5) == "Lamp_"; }

}  // namespace

std::string LinkState::json(const std::set<std::string>* fields) const {
    std::string out = "{";
    bool first = true;
    for (const auto& [k, v] : members) {
        const bool always = k == "type" || k == "v" || k == "t" || k == "step";
        if (fields && !always && !fields->count(k)) continue;
        if (!first) out += ',';
        first = false;
        JsonWriter key;
        key.value(k);
        out += key.str();
        out += ':';
        out += v;
    }
    out += '}';
    return out;
}

LinkState linkState(const LinkMoment& m, const Run& run, const PanelModel& p) {
    LinkState s;
    s.members.emplace_back("type", "\"state\"");
    s.members.emplace_back("v", jsonInt(kLinkProtocolVersion));
    s.members.emplace_back("t", jsonInt(m.t));
    s.members.emplace_back("step", jsonInt(run.presentationTicks));
    Picker picker(s);
    visitRunFields(run, picker);

    JsonWriter signal;
    signal.value(signalClass(run.shownSignalAspect));
    s.members.emplace_back("signal", signal.str());

    JsonWriter labels;
    labels.beginObject();
    for (const auto& [k, v] : p.labels) labels.key(k).value(v);
    labels.endObject();
    s.members.emplace_back("labels", labels.str());

    // A lamp is lit when its picture shows; of several items with one name the
    // last in stacking order is the one seen.
    std::map<std::string_view, bool> lamps;
    for (const auto& i : p.items)
        if (isLamp(i.name)) lamps[i.name] = i.visible;
    JsonWriter lit;
    lit.beginObject();
    for (const auto& [k, v] : lamps) lit.key(k).value(int64_t(v ? 1 : 0));
    lit.endObject();
    s.members.emplace_back("lamps", lit.str());

    std::map<std::string_view, int> needles;
    for (const auto& i : p.items)
        if (i.kind == PanelItem::Kind::Needle && i.picture && !i.name.empty()) needles[i.name] = i.angle;
    JsonWriter n;
    n.beginObject();
    for (const auto& [k, v] : needles) n.key(k).value(int64_t(v));
    n.endObject();
    s.members.emplace_back("needles", n.str());

    JsonWriter hint;
    hint.value(m.hint);
    s.members.emplace_back("hint", hint.str());
    JsonWriter msgs;
    msgs.beginArray();
    for (const auto& x : m.messages) msgs.value(x);
    msgs.endArray();
    s.members.emplace_back("messages", msgs.str());
    return s;
}

std::string linkHello(const Run& run, const PanelModel& p, bool control) {
    JsonWriter w;
    w.beginObject();
    w.key("type").value("hello");
    w.key("v").value(int64_t(kLinkProtocolVersion));
    w.key("train").value(run.trainCode);
    w.key("line").value(run.lineName);
    w.key("control").value(control);
    w.key("powerNotchCount").value(int64_t(run.powerNotchCount));
    w.key("brakeNotchCount").value(int64_t(run.brakeNotchCount));
    w.key("handleType").value(int64_t(run.handleType));
    w.key("stations").beginArray();
    for (const auto& s : p.stations) w.value(s.caption);
    w.endArray();
    std::set<std::string_view> names;
    for (const auto& i : p.items)
        if (!i.name.empty()) names.insert(i.name);
    for (const auto& [k, v] : p.labels) names.insert(k);
    w.key("panel").beginArray();
    for (const auto& n : names) w.value(n);
    w.endArray();
    w.endObject();
    return w.str();
}

std::string linkReply(const std::string& type, const std::string& key, const std::string& text) {
    JsonWriter w;
    w.beginObject().key("type").value(type).key(key).value(text).endObject();
    return w.str();
}

}  // namespace ts
