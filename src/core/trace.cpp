#include "trace.h"

#include <algorithm>
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
    return TraceWriter().line(m, run, p);
}

std::string TraceWriter::line(const TraceMoment& m, const Run& run, const PanelModel& p) {
    if (p.items.data() != itemsSeen_ || p.items.size() != itemCount_) {
        itemsSeen_ = p.items.data();
        itemCount_ = p.items.size();
        named_.clear();
        for (const auto& i : p.items)
            if (!i.name.empty()) named_.emplace_back(i.name, &i);
        std::stable_sort(named_.begin(), named_.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        // Of equal names keep the last: stable sorting leaves it last of its run.
        std::vector<std::pair<std::string_view, const PanelItem*>> unique;
        for (size_t k = 0; k < named_.size(); ++k)
            if (k + 1 == named_.size() || named_[k + 1].first != named_[k].first) unique.push_back(named_[k]);
        named_ = std::move(unique);
    }
    const auto& named = named_;
    auto findNamed = [&](std::string_view name) -> const PanelItem* {
        const auto it = std::lower_bound(named.begin(), named.end(), name,
                                         [](const auto& e, std::string_view n) { return e.first < n; });
        return it != named.end() && it->first == name ? it->second : nullptr;
    };
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
    // Items and labels merged by name; a label's own visibility wins.
    w.key("visible").beginObject();
    {
        auto i = named.begin();
        auto l = p.labelVisible.begin();
        while (i != named.end() || l != p.labelVisible.end()) {
            if (l == p.labelVisible.end() || (i != named.end() && i->first < l->first)) {
                w.key(i->first).value(int64_t(i->second->visible ? 1 : 0));
                ++i;
            } else {
                if (i != named.end() && i->first == l->first) ++i;
                w.key(l->first).value(int64_t(l->second ? 1 : 0));
                ++l;
            }
        }
    }
    w.endObject();
    // The gear indicator is the panel item Lamp_Gear; the presentation step calls it gearImage.
    const PanelItem* gear = findNamed(cn::Lamp_Gear.text);
    if (gear && gear->kind != PanelItem::Kind::Slot) gear = nullptr;
    const std::string_view gearKey = "gearImage";
    bool gearWritten = gear == nullptr;
    auto writeSlot = [&w](std::string_view k, const PanelItem* i) {
        w.key(k);
        if (i->drawn)
            w.value(int64_t(*i->drawn));
        else
            w.null();
    };
    w.key("images").beginObject();
    for (const auto& [k, i] : named) {
        if (i->kind != PanelItem::Kind::Slot) continue;
        if (!gearWritten && gearKey < k) {
            writeSlot(gearKey, gear);
            gearWritten = true;
        }
        if (gear && k == gearKey) continue;  // the gear indicator stands under that name
        writeSlot(k, i);
    }
    if (!gearWritten) writeSlot(gearKey, gear);
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
        if (const PanelItem* i = findNamed(k))
            w.key(k).beginArray().value(int64_t(i->left)).value(int64_t(i->top)).endArray();
    w.endObject();
    w.key("windows").beginObject();
    for (const auto& [k, v] : m.windows) {
        w.key(k)
            .beginObject()
            .key("visible")
            .value(int64_t(v.visible ? 1 : 0))
            .key("caption")
            .value(v.caption)
            .endObject();
    }
    w.endObject();
    w.key("sounds").beginArray();
    for (const auto& s : m.sounds) {
        w.beginArray().value(int64_t(s.channel)).value(s.op);
        if (s.value) w.value(*s.value);
        w.endArray();
    }
    w.endArray();
    if (!m.hint.empty()) w.key("hint").value(m.hint);
    w.key("messages").beginArray();
    for (const auto& msg : m.messages) w.value(msg);
    w.endArray();
    bool details = false;
    for (const auto& d : m.messageDetails) details = details || !d.empty();
    if (details) {
        w.key("messageDetails").beginArray();
        for (const auto& d : m.messageDetails) w.value(d);
        w.endArray();
    }
    w.endObject();
    return w.str();
}

}  // namespace ts
