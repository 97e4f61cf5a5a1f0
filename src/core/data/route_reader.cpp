#include "data/route_reader.h"

#include <map>

#include "data/fields.h"
#include "data/file_names.h"
#include "data/route_sections.h"
#include "data/section_reader.h"
#include "text/our_text.h"

namespace ts {

namespace {

int64_t fixedCol(const std::string& line, int n) {
    try {
        return toFixed(csvField(line, n));
    } catch (FormatError& e) {
        e.column = n;
        throw;
    }
}

void appendPicture(ImageList& list, const std::string& name, PictureLoader& pictures) {
    auto id = pictures.load(resolveDataPath(name));
    if (!id) {
        throw FormatError::refused(withArgs(
            trText("DataFiles", "the picture \"%1\" cannot be loaded: the file is missing or not a picture"), {name}));
    }
    list.pictures.push_back(*id);
}

}  // namespace

void readRouteFile(const std::string& path, RouteData& r, PictureLoader& pictures, MessageBoxes& boxes,
                   Diagnostics* diagnostics, std::vector<SectionSpan>* spans) {
    FileRefusal refusal = FileRefusal::Missing;
    auto file = readTextFile(path, &refusal);
    if (!file) {
        if (recordUnreadable(diagnostics, path, kRouteFileMessage, refusal)) return;
        fatal(boxes, kRouteFileMessage, detailsText(unreadableFile(path, kRouteFileMessage, refusal)));
    }
    readRouteText(*file, baseName(path), r, pictures, boxes, diagnostics, spans);
}

namespace {

// One value of a list entry, read as its column's type says.
Cell readCell(const SectionDesc& s, const ColumnDesc& col, SectionCursor& c, int index) {
    Cell v;
    const bool number = col.type == ValueType::Integer || col.type == ValueType::Frame || col.type == ValueType::Time;
    if (s.wholeLine) {
        v.number = toInt(c.line());
    } else if (s.commaRows) {
        const int n = index + 1;
        if (number)
            v.number = toIntField(c.line(), n);
        else if (col.type == ValueType::Gradient)
            v.number = fixedCol(c.line(), n);
        else if (col.type == ValueType::Text)
            v.text = c.decode(csvField(c.line(), n));
        else
            v.text = csvField(c.line(), n);
    } else {
        // One value per line: the entry's first line is current, the others follow.
        const std::string& line = index == 0 ? c.line() : c.read();
        if (number)
            v.number = toInt(line);
        else if (col.type == ValueType::Text)
            v.text = c.decode(line);
        else
            v.text = line;
    }
    return v;
}

// A list read column by column into the table its description names.
void readColumns(const SectionDesc& s, SectionCursor& c, RouteData& r,
                 const std::function<void(const RouteData&)>& rowRule) {
    s.clearRows(r);
    readList(
        c, s.capacity,
        [&](SectionCursor& e, int) {
            // The row takes its slot first, so that the rows of a checked file keep their places.
            s.addRow(r);
            const size_t row = s.rows(r) - 1;
            for (size_t i = 0; i < s.columns.size(); ++i)
                s.columns[i].set(r, row, readCell(s, s.columns[i], e, int(i)));
            if (rowRule) rowRule(r);
        },
        s.skipSemicolon, s.entryLines);
}

// A single value read as its type says, refused outside its range; a section
// of several values has one on each line.
void readSingle(const SectionDesc& s, SectionCursor& c, RouteData& r) {
    for (const ColumnDesc& col : s.columns) {
        Cell v;
        if (col.type == ValueType::Text)
            v.text = c.readText();
        else if (col.type == ValueType::FileName)
            v.text = c.readRaw();
        else
            v.number = c.readInt();
        col.set(r, 0, v);
        if (col.range && (v.number < col.range->first || v.number > col.range->second)) {
            throw FormatError::refused("the " + col.meaning + " must be a whole number from " +
                                       std::to_string(col.range->first) + " to " + std::to_string(col.range->second));
        }
    }
}

}  // namespace

void readRouteText(const TextFile& routeText, const std::string& fileName, RouteData& r, PictureLoader& pictures,
                   MessageBoxes& boxes, Diagnostics* diagnostics, std::vector<SectionSpan>* spans) {
    const std::string message = kRouteFileMessage;
    const TextFile* file = &routeText;

    // The sections whose values are not read one column at a time.
    const std::map<std::string, std::function<void(SectionCursor&)>, std::less<>> own{
        {"[Pre_Time]",
         [&](SectionCursor& c) {
             const int64_t ticks = int64_t(c.readInt()) * 30;
             if (ticks < -kDataIntegerLimit || ticks > kDataIntegerLimit) {
                 throw FormatError::refused(
                     withArgs(trText("DataFiles", "the time in seconds is too large: times of day stay below %1 s"),
                              {std::to_string(kDataIntegerLimit / 30)}));
             }
             r.preTimeTicks = int32_t(ticks);
         }},
        {"[KankoSound1]",
         [&](SectionCursor& c) {
             for (int k = 0; k < kKankoSlots1; ++k) r.kankoSound1Files[size_t(k)] = c.readRaw();
         }},
        {"[KankoSound2]",
         [&](SectionCursor& c) {
             r.hasKankoSound2 = true;
             r.kankoTable.resize(kKankoSlots1);
             r.kankoCount = kKankoSlots1;
             readList(
                 c, kKankoPairs,
                 [&](SectionCursor& s, int) {
                     Kanko k;
                     k.callText = s.decode(s.line());
                     k.fileName = s.readRaw();
                     r.kankoTable.push_back(k);
                     ++r.kankoCount;
                 },
                 false, 2);
         }},
        {"[SignImageList]",
         [&](SectionCursor& c) {
             readList(c, kRouteRows,
                      [&](SectionCursor& s, int) { appendPicture(r.SignImageList, s.line(), pictures); });
         }},
        {"[OtherImageList]",
         [&](SectionCursor& c) {
             r.otherSoundFiles.clear();
             readList(
                 c, kOtherImages,
                 [&](SectionCursor& s, int) {
                     appendPicture(r.OtherImageList, s.line(), pictures);
                     r.otherSoundFiles.push_back(s.readRaw());
                 },
                 false, 2);
         }},
        {"[SignalImageList]",
         [&](SectionCursor& c) {
             readList(c, kRouteRows,
                      [&](SectionCursor& s, int) { appendPicture(r.SignalImageList, s.line(), pictures); });
         }},
        {"[EndPos]",
         [&](SectionCursor& c) {
             const int32_t end = c.readInt();
             // As the train file's checks, against [StartPos] when it stands earlier in the file.
             if (end < 0 || end < r.startPosition)
                 throw FormatError::refused(withArgs(
                     trText("DataFiles", "the end of the line must not be negative nor before [StartPos] (%1)"),
                     {std::to_string(r.startPosition)}));
             r.endPosition = end;
             r.hasEndPosition = true;
         }},
    };
    // Rules about a whole row, checked as it is read.
    const std::map<std::string, std::function<void(const RouteData&)>, std::less<>> rowRules{
        {"[Station]",
         [](const RouteData& route) {
             const StationData& x = route.stationTable.back();
             // The Move menu and the per-station state hold 100 stations.
             if ((x.kind == 0 || x.kind == 2) && int(route.stationTable.size()) > kMenuStations) {
                 throw FormatError::refused(withArgs(trText("DataFiles",
                                                            "only the first %1 stations may be stops "
                                                            "(kind 0 or 2); later ones must be kind 1"),
                                                     {std::to_string(kMenuStations)}),
                                            2);
             }
         }},
    };

    // A list's errors name the list; an error inside a single-value section
    // names "other", whatever lists are tested before it.
    const std::string other = "other";
    std::vector<SectionRule> rules;
    for (const SectionDesc& s : routeSections()) {
        SectionRule rule{s.marker, s.isList() ? s.marker : other, {}};
        if (const auto it = own.find(s.marker); it != own.end()) {
            rule.read = it->second;
        } else if (s.isList()) {
            const auto found = rowRules.find(s.marker);
            const std::function<void(const RouteData&)> rowRule = found == rowRules.end() ? nullptr : found->second;
            rule.read = [&s, &r, rowRule](SectionCursor& c) { readColumns(s, c, r, rowRule); };
        } else {
            rule.read = [&s, &r](SectionCursor& c) { readSingle(s, c, r); };
        }
        rules.push_back(std::move(rule));
    }

    SectionCursor cursor(*file);
    cursor.fileName = fileName;
    cursor.message = message;
    cursor.diagnostics = diagnostics;
    try {
        readSections(cursor, rules, other);
        if (spans) *spans = cursor.spans;
    } catch (const FormatError& e) {
        const Diagnostic d = cursor.describe(e);
        fatal(boxes, d.message, detailsText(d));
    }
}

std::string readLineName(const std::string& path) {
    auto bytes = readFilePrefix(path, kLineNamePrefix);
    if (!bytes) return {};
    // Whole lines only: a character cut at the end would make UTF-8 look like Shift-JIS.
    if (bytes->size() == kLineNamePrefix) {
        const size_t lastLf = bytes->rfind('\n');
        bytes->resize(lastLf == std::string::npos ? 0 : lastLf + 1);
    }
    const TextFile file = textFromBytes(*bytes);
    for (size_t i = 0; i + 1 < file.lines.size(); ++i)
        if (startsWithMarker(file.lines[i], "[LineName]")) return file.encoding.decode(file.lines[i + 1]);
    return {};
}

}  // namespace ts
