#include "data/train_reader.h"

#include "data/file_names.h"
#include "data/section_reader.h"
#include "data/train_sections.h"
#include "text/our_text.h"

namespace ts {

namespace {

FormatError refused(const std::string& why) { return FormatError::refused(why); }

FormatError missingPicture(const std::string& shownName) {
    FormatError e = refused(withArgs(
        trText("DataFiles", "the picture \"%1\" cannot be loaded: the file is missing or not a picture"), {shownName}));
    e.message = shownName + "が見つかりません";
    return e;
}

// One value as its column's type says: an entry's first line is already
// current, every other value takes the next line.
Cell readCell(const TrainColumn& col, SectionCursor& c, bool entryStart) {
    const std::string& line = entryStart ? c.line() : c.read();
    Cell v;
    switch (col.type) {
        case ValueType::Real: v.real = toReal(line); break;
        case ValueType::Fixed:
        case ValueType::Gradient: v.number = toFixed(line); break;
        case ValueType::Text: v.text = c.decode(line); break;
        case ValueType::FileName:
        case ValueType::Picture: v.text = line; break;
        case ValueType::Integer:
        case ValueType::Frame:
        case ValueType::Time: v.number = toInt(line); break;
    }
    return v;
}

bool outOfRange(const TrainColumn& col, const Cell& v) {
    return col.range && (v.number < col.range->first || v.number > col.range->second);
}

// A value read and refused outside its range; kept first when its column says so.
void readValue(const TrainColumn& col, SectionCursor& c, TrainData& t, size_t row, bool entryStart) {
    const Cell v = readCell(col, c, entryStart);
    const bool out = outOfRange(col, v);
    if (out && !col.keptWhenRefused) throw refused(col.refusal);
    col.set(t, row, v);
    if (out) throw refused(col.refusal);
}

// An entry's values, refused outside their ranges, not yet kept.
std::vector<Cell> readEntry(const TrainSection& s, SectionCursor& c) {
    std::vector<Cell> cells;
    for (size_t i = 0; i < s.columns.size(); ++i) {
        cells.push_back(readCell(s.columns[i], c, i == 0));
        if (outOfRange(s.columns[i], cells.back())) throw refused(s.columns[i].refusal);
    }
    return cells;
}

// A panel picture list's pictures up to "#". Pictures of another size than
// the list's empty it first.
void readPictures(SectionCursor& c, ImageList& list, PictureLoader& pictures) {
    readList(c, 501, [&](SectionCursor& s, int) {
        const std::string name = s.line();
        if (name.empty()) return;
        auto id = pictures.load(resolveDataPath(name));
        if (!id) throw missingPicture(s.decode(name));
        const PictureSize size = pictures.size(*id);
        if (size.width != list.width || size.height != list.height) {
            list.pictures.clear();
            list.width = size.width;
            list.height = size.height;
        }
        list.pictures.push_back(*id);
    });
}

// The rules of the traction tables that look at more than one value.
void checkEngineRow(const std::vector<Cell>& e) {
    // The traction interpolates across both speed bands; an empty band has no slope.
    if (e[0].number == e[1].number || e[1].number == e[2].number)
        throw refused(trText("DataFiles", "the three speeds of a gear must differ: lowSpeed, midSpeed and highSpeed"));
}

void checkNotchList(const TrainData& t, int rows) {
    if (t.engineType == EngineType::Diesel) {
        FormatError e = refused(trText("DataFiles",
                                       "[Notch] is for electric trains, but [Engine_Type] is 0 (diesel) or stands "
                                       "after [Notch]: set [Engine_Type] to 1 before [Notch], or use [Engine]"));
        e.message = "動力が気動車なのにNotch指定があります";
        throw e;
    }
    if (rows != t.powerNotchCount) {
        FormatError e = refused(withArgs(trText("DataFiles",
                                                "[Notch] has %1 rows but [Power] is %2 (or stands after "
                                                "[Notch]): there must be one row per power notch"),
                                         {std::to_string(rows), std::to_string(t.powerNotchCount)}));
        e.message = "Power指定とNotch指定が矛盾しています";
        throw e;
    }
}

void checkEngineList(const TrainData& t, int) {
    if (t.engineType == EngineType::Electric) {
        FormatError e = refused(
            "[Engine] is for diesel railcars, but [Engine_Type] is 1 (electric): "
            "use [Notch] for an electric train");
        e.message = "動力が電車なのにEngine指定があります";
        throw e;
    }
}

// A section read as its description says.
void readSection(const TrainSection& s, SectionCursor& c, TrainData& t, PictureLoader& pictures) {
    if (!s.isList()) {
        for (const TrainColumn& col : s.columns) readValue(col, c, t, 0, false);
        if (s.whenRead) s.whenRead(t);
        return;
    }
    for (const TrainColumn& col : s.head) readValue(col, c, t, 0, false);
    if (s.pictures) {
        readPictures(c, s.pictures(t), pictures);
        return;
    }
    if (s.clearRows) s.clearRows(t);
    const int rows = readList(
        c, s.capacity,
        [&](SectionCursor& e, int i) {
            if (s.entryInPlace) {
                for (size_t k = 0; k < s.columns.size(); ++k) readValue(s.columns[k], e, t, size_t(i), k == 0);
                return;
            }
            const std::vector<Cell> cells = readEntry(s, e);
            if (s.marker == "[Engine]") checkEngineRow(cells);
            s.addRow(t);
            const size_t row = s.rows(t) - 1;
            for (size_t k = 0; k < cells.size(); ++k) s.columns[k].set(t, row, cells[k]);
        },
        false, s.entryLines);
    if (s.setCount) s.setCount(t, rows);
    c.row = 0;
    if (s.marker == "[Notch]") checkNotchList(t, rows);
    if (s.marker == "[Engine]") checkEngineList(t, rows);
}

}  // namespace

void readTrainFile(const std::string& path, TrainData& t, PictureLoader& pictures, MessageBoxes& boxes,
                   Diagnostics* diagnostics) {
    const std::string message = "車両ファイルに誤りがあります";
    FileRefusal refusal = FileRefusal::Missing;
    auto file = readTextFile(path, &refusal);
    if (!file) {
        if (recordUnreadable(diagnostics, path, message, refusal)) return;
        fatal(boxes, message, detailsText(unreadableFile(path, message, refusal)));
    }

    std::vector<SectionRule> rules;
    for (const TrainSection& s : trainSections())
        rules.push_back({s.marker, s.label, [&s, &t, &pictures](SectionCursor& c) { readSection(s, c, t, pictures); }});

    SectionCursor cursor(*file);
    cursor.fileName = baseName(path);
    cursor.message = message;
    cursor.diagnostics = diagnostics;
    try {
        readSections(cursor, rules, kTrainLineLabel);
    } catch (const FormatError& e) {
        const Diagnostic d = cursor.describe(e);
        fatal(boxes, d.message, detailsText(d));
    }
}

}  // namespace ts
