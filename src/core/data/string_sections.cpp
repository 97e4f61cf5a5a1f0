#include "data/string_sections.h"

#include "data/controller_map.h"

namespace ts {

namespace {

ColumnFacts text(const char* name, const char* meaning, std::string stored) {
    ColumnFacts c;
    c.name = name;
    c.type = ValueType::Text;
    c.meaning = meaning;
    c.stored = std::move(stored);
    return c;
}

StringSection label(const char* marker, HandleLabel key, const char* meaning) {
    StringSection s;
    s.marker = marker;
    // The label's name is its marker's word.
    const std::string word = std::string(marker).substr(1, std::string(marker).size() - 2);
    s.lines = {text(word.c_str(), meaning, "handleLabelTexts[" + word + "]")};
    s.get = [key](const StringTable& t, size_t) -> std::optional<std::string> { return t.handleLabelTexts[key]; };
    s.set = [key](StringTable& t, size_t, std::string v) { t.handleLabelTexts[key] = std::move(v); };
    return s;
}

// A menu caption; absent, the window's own caption stays.
StringSection caption(const char* marker, std::vector<ColumnFacts> lines,
                      std::vector<std::optional<std::string> StringTable::*> captions) {
    StringSection s;
    s.marker = marker;
    s.lines = std::move(lines);
    s.get = [captions](const StringTable& t, size_t line) { return t.*captions[line]; };
    s.set = [captions](StringTable& t, size_t line, std::string v) { t.*captions[line] = std::move(v); };
    return s;
}

std::vector<StringSection> describe() {
    using T = StringTable;
    return {
        label("[Forward]", kForward, "reverser forward"),
        label("[Neutral]", kNeutral, "reverser neutral"),
        label("[Reverse]", kReverse, "reverser back"),
        label("[Stop]", kStop, "after the next station's name: the train stops"),
        label("[Pass]", kPass, "after the next station's name: the train passes"),
        label("[Stop2]", kStop2, "after the next station's name: a stop without doors"),
        label("[Neut]", kNeut, "a brake position"),
        label("[Neut2]", kNeut2, "a brake position"),
        label("[Apply]", kApply, "a brake position"),
        label("[Maintain]", kMaintain, "a brake position"),
        label("[Hold]", kHold, "a brake position"),
        label("[Hold2]", kHold2, "a brake position"),
        label("[EB]", kEB, "the emergency position"),
        caption("[Start]", {text("startCaption", "the Start menu item", "startCaption")}, {&T::startCaption}),
        caption("[Move]", {text("moveCaption", "the station menu", "moveCaption")}, {&T::moveCaption}),
        caption("[Display]",
                {text("displayCaption", "the Display menu", "displayCaption"),
                 text("helpCaption", "its key help item", "helpCaption")},
                {&T::displayCaption, &T::helpCaption}),
        caption("[Control]", {text("controlCaption", "the Controller menu", "controlCaption")}, {&T::controlCaption}),
    };
}

}  // namespace

const std::vector<StringSection>& stringSections() {
    static const std::vector<StringSection> sections = describe();
    return sections;
}

std::string stringSectionsMarkdown() {
    std::string out = "| section | values | kept in |\n|---|---|---|\n";
    for (const StringSection& s : stringSections()) {
        std::string values, stored;
        for (const ColumnFacts& c : s.lines) {
            values += (values.empty() ? "" : "; ") + columnMarkdown(c);
            stored += (stored.empty() ? "" : ", ") + c.stored;
        }
        out += "| `" + s.marker + "` | " + values + " | `" + stored + "` |\n";
    }
    return out;
}

const ControllerMapDesc& controllerMapDesc() {
    static const ControllerMapDesc d = [] {
        ControllerMapDesc m;
        m.capacity = kControllerCodeSlots;
        m.code.name = "code";
        m.code.type = ValueType::FileName;  // the line's bytes as they are
        m.code.meaning = "the start of the message the controller sends";
        m.code.stored = "controllerCodes[i]";
        m.slots = {{0, 5, "power 0 … 5"},
                   {6, 15, "brake released … emergency"},
                   {16, 18, "reverser forward, neutral, back"},
                   {19, 21, "three switches"},
                   {22, 25, "kept, not compared"}};
        return m;
    }();
    return d;
}

std::string controllerMapMarkdown() {
    const ControllerMapDesc& d = controllerMapDesc();
    std::string out = "| slots | line |\n|---|---|\n";
    for (const ControllerSlots& s : d.slots)
        out += "| " + std::to_string(s.first) + "–" + std::to_string(s.last) + " | " + s.meaning + " |\n";
    return out;
}

}  // namespace ts
