#include "controls/pad_file_entries.h"

#include <stdexcept>

#include "controls/pad_mapping.h"

namespace ts {

namespace {

ColumnFacts word(const char* name, ValueType type, const char* meaning, const char* stored) {
    ColumnFacts c;
    c.name = name;
    c.type = type;
    c.meaning = meaning;
    c.stored = stored;
    return c;
}

ColumnFacts ranged(ColumnFacts c, int64_t low, int64_t high) {
    c.range = std::make_pair(low, high);
    return c;
}

std::vector<PadEntryDesc> describe() {
    // What SDL can report: axis numbers and values are 8 and 16 bits; buttons
    // stop where the hats' numbers begin.
    const ColumnFacts axisValue = ranged(word("V", ValueType::Integer, "", ""), -32768, 32767);
    auto value = [&](const char* name, const char* meaning, const char* stored) {
        ColumnFacts c = axisValue;
        c.name = name;
        c.meaning = meaning;
        c.stored = stored;
        return c;
    };
    // The dead zone and the hysteresis are reals from 0 to below 0.5: a range
    // of whole numbers cannot say so, and the reader keeps that rule itself.
    return {
        {"[GUID]",
         "[GUID]",
         {word("GUID", ValueType::Text, "the 32 hex digits SDL gives the device; letter case does not matter",
               "guid")}},
        {"name", "name TEXT", {word("TEXT", ValueType::Text, "for the reader: the rest of the line", "name")}},
        {"axis",
         "axis N ROLE [min V] [max V] [centre V] [deadzone F] [hysteresis F] [inverted]",
         {ranged(word("N", ValueType::Integer, "the axis", "axes[i].axis"), 0, 255),
          word("ROLE", ValueType::Text, "power, brake or combined", "axes[i].role"),
          value("min", "the end of EB or N (default -32768)", "axes[i].min"),
          value("max", "the end of the highest notch (default 32767)", "axes[i].max"),
          value("centre", "a lever that springs back: the middle of N", "axes[i].centre"),
          word("deadzone", ValueType::Real, "0 to below 0.5 of the travel at each end (default 0.05)",
               "axes[i].deadZone"),
          word("hysteresis", ValueType::Real, "0 to below 0.5 of a position (default 0.25)", "axes[i].hysteresis"),
          word("inverted", ValueType::Text, "swaps the ends", "axes[i].inverted")}},
        {"button",
         "button N ACTION",
         {ranged(word("N", ValueType::Integer, "the button", "buttons[N]"), 0, kHatButtonBase - 1),
          word("ACTION", ValueType::Text, "an action, or none", "buttons[N]")}},
        {"hat",
         "hat N DIRECTION ACTION",
         {ranged(word("N", ValueType::Integer, "the hat", "buttons[100 + 4 × N + direction]"), 0, 15),
          word("DIRECTION", ValueType::Text, "up, right, down or left", "buttons[100 + 4 × N + direction]"),
          word("ACTION", ValueType::Text, "an action, or none", "buttons[100 + 4 × N + direction]")}},
    };
}

}  // namespace

const std::vector<PadEntryDesc>& padFileEntries() {
    static const std::vector<PadEntryDesc> entries = describe();
    return entries;
}

const ColumnFacts& padEntryWord(std::string_view keyword, std::string_view name) {
    for (const PadEntryDesc& e : padFileEntries())
        if (e.keyword == keyword)
            for (const ColumnFacts& w : e.words)
                if (w.name == name) return w;
    throw std::logic_error("gamepad.txt has no word " + std::string(name) + " in " + std::string(keyword));
}

std::string padFileMarkdown() {
    std::string out = "| line | words | kept in `PadMapping` |\n|---|---|---|\n";
    for (const PadEntryDesc& e : padFileEntries()) {
        std::string words, stored;
        for (const ColumnFacts& w : e.words) {
            words += (words.empty() ? "" : "; ") + columnMarkdown(w);
            if (stored.find(w.stored) == std::string::npos) stored += (stored.empty() ? "" : ", ") + w.stored;
        }
        out += "| `" + e.layout + "` | " + words + " | `" + stored + "` |\n";
    }
    return out;
}

}  // namespace ts
