#include "data/string_table.h"

#include "data/section_reader.h"
#include "data/string_sections.h"

namespace ts {

StringTable readStringTable(const std::string& path, MessageBoxes& boxes, Diagnostics* diagnostics) {
    const std::string message = "stringファイルに誤りがあります";
    FileRefusal refusal = FileRefusal::Missing;
    auto file = readTextFile(path, &refusal);
    if (!file) {
        if (recordUnreadable(diagnostics, path, message, refusal)) return {};
        fatal(boxes, message, detailsText(unreadableFile(path, message, refusal)));
    }

    StringTable t;
    std::vector<SectionRule> rules;
    for (const StringSection& s : stringSections()) {
        rules.push_back({s.marker, "", [&t, &s](SectionCursor& c) {
                             for (size_t i = 0; i < s.lines.size(); ++i) s.set(t, i, c.readText());
                         }});
    }

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
