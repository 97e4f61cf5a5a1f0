#include "data/section_reader.h"

#include "data/fields.h"
#include "data/section_fields.h"
#include "text/our_text.h"

namespace ts {

const std::string& SectionCursor::read() {
    if (next_ < file_.lines.size()) {
        current_ = file_.lines[next_++];
    } else {
        current_.clear();
        pastEnd_ = true;
    }
    return current_;
}

namespace {

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

std::string conversionExplanation(const FormatError& e, const std::string& text) {
    using K = FormatError::Kind;
    if (e.kind == K::Other) return trText("DataFiles", "the value is not accepted here");
    if (text.empty()) {
        return e.kind == K::Integer ? trText("DataFiles", "the line is empty where a whole number is expected")
                                    : trText("DataFiles", "the line is empty where a number is expected");
    }
    if (e.kind == K::Integer) {
        if (auto v = parseInt(text)) {
            return withArgs(trText("DataFiles",
                                   "%1 is beyond %2 (either way), the largest whole number a data file "
                                   "may hold"),
                            {quoted(text), std::to_string(kDataIntegerLimit)});
        }
        return withArgs(trText("DataFiles",
                               "%1 is not a whole number: write a decimal integer such as 120 (a sign and "
                               "leading blanks are accepted; a decimal point or anything after the "
                               "number is not)"),
                        {quoted(text)});
    }
    return withArgs(trText("DataFiles",
                           "%1 is not a number: write a decimal number with \".\" as the decimal point, "
                           "such as 2.5"),
                    {quoted(text)});
}

}  // namespace

int32_t toInt(std::string_view text) {
    auto v = parseInt(text);
    if (!v || *v < -kDataIntegerLimit || *v > kDataIntegerLimit)
        throw FormatError::conversion(FormatError::Kind::Integer, text);
    return *v;
}

long double toReal(std::string_view text) {
    auto v = parseReal(text);
    if (!v) throw FormatError::conversion(FormatError::Kind::Real, text);
    if (*v < -kDataRealLimit || *v > kDataRealLimit)
        throw FormatError::refused(
            trText("DataFiles", "a real number beyond ±1000000000 has no meaning in a data file"));
    return *v;
}

int64_t toFixed(std::string_view text) {
    auto v = parseFixed(text);
    if (!v) throw FormatError::conversion(FormatError::Kind::Fixed, text);
    return *v;
}

int32_t toIntField(const std::string& line, int n) {
    try {
        return toInt(csvField(line, n));
    } catch (FormatError& e) {
        e.column = n;
        // The conversion saw "Error": name the real cause, a field that is not there.
        if (e.text == "Error" && csvField(line, n - 1) != "Error" && line.find("Error") == std::string::npos) {
            int fields = 1;
            for (char c : line) fields += c == ',';
            e.explanation = withArgs(fields == 1 ? trText("DataFiles",
                                                          "the row has 1 field but field %2 is needed "
                                                          "(fields are separated by commas)")
                                                 : trText("DataFiles",
                                                          "the row has %1 fields but field %2 is needed "
                                                          "(fields are separated by commas)"),
                                     {std::to_string(fields), std::to_string(n)});
        }
        throw;
    }
}

int32_t SectionCursor::readInt() { return toInt(read()); }
long double SectionCursor::readReal() { return toReal(read()); }
int64_t SectionCursor::readFixed() { return toFixed(read()); }

Diagnostic SectionCursor::describe(const FormatError& e) const {
    Diagnostic d;
    d.file = fileName;
    d.line = lineNumber();
    d.section = section;
    d.row = row;
    d.message = e.message ? *e.message : message + label;
    d.explanation = e.explanation.empty() ? conversionExplanation(e, decode(e.text)) : e.explanation;
    if (row > 0 && isCommaRowList(section)) {
        d.column = e.column;
        d.fieldName = sectionFieldName(section, row, e.column);
    } else if (row > 0) {
        d.fieldName = sectionFieldName(section, row, lineNumber() - rowStartLine + 1);
    } else if (!section.empty()) {
        d.fieldName = sectionFieldName(section, 0, lineNumber() - markerLine);
    }
    if (pastEnd_) d.line = int(file_.lines.size()) + 1;
    return d;
}

bool SectionCursor::record(const FormatError& e) const {
    if (!diagnostics) return false;
    diagnostics->add(describe(e));
    return true;
}

Diagnostic unreadableFile(const std::string& path, const std::string& message, FileRefusal refusal) {
    Diagnostic d;
    d.file = baseName(path);
    d.message = message;
    d.explanation = withArgs(trText("DataFiles", "the file cannot be opened: %1"), {refusalReason(refusal)});
    return d;
}

bool recordUnreadable(Diagnostics* diagnostics, const std::string& path, const std::string& message,
                      FileRefusal refusal) {
    if (!diagnostics) return false;
    diagnostics->add(unreadableFile(path, message, refusal));
    return true;
}

std::string baseName(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool startsWithMarker(std::string_view line, std::string_view marker) {
    return line.size() >= marker.size() && line.compare(0, marker.size(), marker) == 0;
}

void readSections(SectionCursor& cursor, const std::vector<SectionRule>& rules, const std::string& lineLabel) {
    while (!cursor.atEnd()) {
        cursor.read();
        if (!lineLabel.empty()) cursor.label = lineLabel;
        for (const auto& rule : rules) {
            if (!rule.labelBefore.empty()) cursor.label = rule.labelBefore;
            if (!startsWithMarker(cursor.line(), rule.marker)) continue;
            const size_t at = cursor.nextLine() - 1;
            cursor.section = rule.marker;
            cursor.row = 0;
            cursor.markerLine = cursor.lineNumber();
            if (cursor.diagnostics) cursor.diagnostics->noteMarker(cursor.fileName, rule.marker, cursor.markerLine);
            try {
                rule.read(cursor);
            } catch (const FormatError& e) {
                if (!cursor.record(e)) throw;
            }
            cursor.spans.push_back({rule.marker, at, cursor.nextLine()});
            cursor.section.clear();
            cursor.row = 0;
        }
    }
}

int readList(SectionCursor& cursor, int capacity, const std::function<void(SectionCursor&, int)>& entry,
             bool skipSemicolonLines, int entryLines) {
    int count = 0;
    Diagnostics* const notes = cursor.diagnostics;
    const std::string section = cursor.section;
    if (notes) notes->clearEntries(cursor.fileName, section);
    for (;;) {
        cursor.row = 0;
        const std::string& line = cursor.read();
        if (cursor.pastEnd()) {
            throw FormatError::refused(
                trText("DataFiles", "the file ends inside the list: a line beginning with \"#\" must end it"));
        }
        if (!line.empty() && line[0] == '#') return count;
        if (skipSemicolonLines && !line.empty() && line[0] == ';') continue;
        cursor.row = count + 1;
        cursor.rowStartLine = cursor.lineNumber();
        if (count >= capacity) {
            const FormatError e = FormatError::refused(
                withArgs(trText("DataFiles", "the list has more than %1 entries, the most it can hold"),
                         {std::to_string(capacity)}));
            if (!cursor.record(e)) throw e;
            // The rest of the list has no room: go on after its end.
            while (!cursor.pastEnd() && (cursor.line().empty() || cursor.line()[0] != '#')) cursor.read();
            return count;
        }
        const int start = cursor.rowStartLine;
        try {
            entry(cursor, count);
        } catch (const FormatError& e) {
            if (!cursor.record(e)) throw;
            // The entry ran into the end of the file: that is the one problem.
            if (cursor.pastEnd()) return count;
            while (!cursor.pastEnd() && cursor.lineNumber() < start + entryLines - 1) cursor.read();
        }
        if (notes) notes->noteEntry(cursor.fileName, section, start);
        ++count;
    }
}

}  // namespace ts
