#include "trace.h"

#include <string_view>

#include "json_writer.h"

namespace ts {

namespace {

class FieldWriter final : public RunFieldVisitor {
public:
    explicit FieldWriter(JsonWriter& w) : w_(w) {}
    void integer(const char* name, int64_t v) override { w_.key(name).value(v); }
    void real(const char* name, long double v) override { w_.key(name).value(v); }
    void text(const char* name, const std::string& v) override { w_.key(name).value(v); }
    void integers(const char* name, const int32_t* v, int n) override {
        w_.key(name).beginArray();
        for (int i = 0; i < n; ++i) w_.value(int64_t(v[i]));
        w_.endArray();
    }
    void reals(const char* name, const long double* v, int n) override {
        w_.key(name).beginArray();
        for (int i = 0; i < n; ++i) w_.value(v[i]);
        w_.endArray();
    }
    void texts(const char* name, const std::string* v, int n) override {
        w_.key(name).beginArray();
        for (int i = 0; i < n; ++i) w_.value(v[i]);
        w_.endArray();
    }
    void flags(const char* name, const uint8_t* v, int n) override {
        w_.key(name).beginArray();
        for (int i = 0; i < n; ++i) w_.value(int64_t(v[i]));
        w_.endArray();
    }

private:
    JsonWriter& w_;
};

void writeMenu(JsonWriter& w, const std::vector<MenuItem>& items, bool asPairs) {
    if (asPairs) {
        w.beginArray();
        for (const auto& i : items) w.beginArray().value(i.name).value(i.caption).endArray();
        w.endArray();
    } else {
        w.beginObject();
        for (const auto& i : items) w.key(i.name).value(i.caption);
        w.endObject();
    }
}

}  // namespace

std::string traceLine(const TraceMoment& m, const Run& run, const PanelModel& p) {
    JsonWriter w;
    w.reserve(8192);
    w.beginObject();
    w.key("t").value(m.t);
    w.key("event").value(m.event);
    if (!m.reason.empty()) w.key("reason").value(m.reason);

    FieldWriter fields(w);
    visitRunFields(run, fields);
    if (m.event == "loaded") visitLoadedTexts(run, fields);

    w.key("caption").value(p.caption);
    w.key("labels").beginObject();
    for (const auto& [k, v] : p.labels) w.key(k).value(v);
    w.endObject();
    std::map<std::string_view, const PanelItem*> named;
    for (const auto& i : p.items)
        if (!i.name.empty()) named[i.name] = &i;
    std::map<std::string_view, bool> shown;
    for (const auto& [k, i] : named) shown[k] = i->visible;
    for (const auto& [k, v] : p.labelVisible) shown[k] = v;
    w.key("visible").beginObject();
    for (const auto& [k, v] : shown) w.key(k).value(int64_t(v ? 1 : 0));
    w.endObject();
    // The gear indicator is the panel item Lamp_Gear; the presentation step calls it gearImage.
    std::map<std::string_view, const PanelItem*> pictureSlots;
    for (const auto& [k, i] : named)
        if (i->kind == PanelItem::Kind::Slot) pictureSlots[k] = i;
    if (auto g = pictureSlots.find(cn::Lamp_Gear.text); g != pictureSlots.end()) pictureSlots["gearImage"] = g->second;
    w.key("images").beginObject();
    for (const auto& [k, i] : pictureSlots) {
        w.key(k);
        if (i->drawn) w.value(int64_t(*i->drawn));
        else w.null();
    }
    w.endObject();
    w.key("needles").beginObject();
    for (const auto& [k, i] : named)
        if (i->kind == PanelItem::Kind::Needle && i->picture) w.key(k).value(int64_t(i->angle));
    w.endObject();
    if (m.valueDisplayShown) {
        w.key("valueDisplay").beginObject();
        for (const auto& [k, v] : p.valueDisplay) w.key(k).value(v);
        w.endObject();
    }
    w.key("wheel").value(p.wheel);
    w.key("menu");
    writeMenu(w, p.menu, false);
    w.key("stations");
    writeMenu(w, p.stations, true);
    w.key("geometry").beginObject();
    for (const char* k : {cn::stopline.text, cn::staffImage.text})
        if (auto it = named.find(k); it != named.end())
            w.key(k).beginArray().value(int64_t(it->second->left)).value(int64_t(it->second->top)).endArray();
    w.endObject();
    w.key("windows").beginObject();
    for (const auto& [k, v] : m.windows) {
        w.key(k).beginObject().key("visible").value(int64_t(v.visible ? 1 : 0)).key("caption").value(v.caption).endObject();
    }
    w.endObject();
    w.key("sounds").beginArray();
    for (const auto& s : m.sounds) {
        w.beginArray().value(int64_t(s.channel)).value(s.op);
        if (s.value) w.value(*s.value);
        w.endArray();
    }
    w.endArray();
    w.key("messages").beginArray();
    for (const auto& msg : m.messages) w.value(msg);
    w.endArray();
    w.endObject();
    return w.str();
}

}  // namespace ts
