#include "data/string_table.h"

#include "data/section_reader.h"

namespace ts {

StringTable readStringTable(const std::string& path, MessageBoxes& boxes, Diagnostics* diagnostics) {
    const std::string message = "stringファイルに誤りがあります";
    static const char* const kKeys[kHandleLabelCount] = {"[Forward]", "[Neutral]", "[Reverse]", "[Stop]",  "[Pass]",
                                                         "[Stop2]",   "[Neut]",    "[Neut2]",   "[Apply]", "[Maintain]",
                                                         "[Hold]",    "[Hold2]",   "[EB]"};
    FileRefusal refusal = FileRefusal::Missing;
    auto file = readTextFile(path, &refusal);
    if (!file) {
        if (recordUnreadable(diagnostics, path, message, refusal)) return {};
        fatal(boxes, message, detailsText(unreadableFile(path, message, refusal)));
    }

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
    cursor.fileName = baseName(path);
    cursor.message = message;
    cursor.diagnostics = diagnostics;
    try {
        readSections(cursor, rules, "");
    } catch (const FormatError& e) {
        const Diagnostic d = cursor.describe(e);
        fatal(boxes, d.message, detailsText(d));
    }
    return t;
}

}  // namespace ts
