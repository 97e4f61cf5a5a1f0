#include "data/string_table.h"

#include "data/section_reader.h"

namespace ts {

StringTable readStringTable(const std::string& path, MessageBoxes& boxes) {
    static const char* const kKeys[kHandleLabelCount] = {
        "[Forward]", "[Neutral]", "[Reverse]", "[Stop]", "[Pass]", "[Stop2]", "[Neut]",
        "[Neut2]", "[Apply]", "[Maintain]", "[Hold]", "[Hold2]", "[EB]"};
    auto file = readTextFile(path);
    if (!file) fatal(boxes, "stringファイルに誤りがあります");

    StringTable t;
    std::vector<SectionRule> rules;
    for (int i = 0; i < kHandleLabelCount; ++i) {
        rules.push_back({kKeys[i], "", [&t, i](SectionCursor& c) { t.handleLabelTexts[i] = c.readText(); }});
    }
    rules.push_back({"[Start]", "", [&t](SectionCursor& c) { t.startCaption = c.readText(); }});
    rules.push_back({"[Move]", "", [&t](SectionCursor& c) { t.moveCaption = c.readText(); }});
    rules.push_back({"[Display]", "", [&t](SectionCursor& c) {
                         t.displayCaption = c.readText();
                         t.helpCaption = c.readText();
                     }});
    rules.push_back({"[Control]", "", [&t](SectionCursor& c) { t.controlCaption = c.readText(); }});

    SectionCursor cursor(*file);
    try {
        readSections(cursor, rules, "");
    } catch (const FormatError&) {
        fatal(boxes, "stringファイルに誤りがあります");
    }
    return t;
}

}  // namespace ts
