// The table side of a route document: rows as the file holds them, edited
// field by field and kept in the order the run reads them.
#include <algorithm>
#include <cmath>

#include "data/fields.h"
#include "data/section_rewriter.h"
#include "dynamics/motion.h"
#include "edit/document_state.h"

namespace ts::edit {

namespace {

using T = FieldInfo::Type;

bool setError(std::string* error, const std::string& why) {
    if (error) *error = why;
    return false;
}

// Lines before the first entry (comments of [Sound]) and, per entry, its own
// lines followed by the comment lines after it.
struct Blocks {
    std::vector<std::string> head;
    std::vector<std::vector<std::string>> entries;
};

Blocks blocksOf(const ListBody& body) {
    Blocks b;
    const size_t first = body.entryStarts.empty() ? body.lines.size() : body.entryStarts.front();
    b.head.assign(body.lines.begin(), body.lines.begin() + long(first));
    for (size_t i = 0; i < body.entryStarts.size(); ++i) {
        const size_t from = body.entryStarts[i];
        const size_t to = i + 1 < body.entryStarts.size() ? body.entryStarts[i + 1] : body.lines.size();
        b.entries.emplace_back(body.lines.begin() + long(from),
                               body.lines.begin() + long(std::min(to, body.lines.size())));
    }
    return b;
}

std::string rawField(const TableDef& def, const std::vector<std::string>& entry, int column) {
    if (def.entryLines > 1) return size_t(column) < entry.size() ? entry[size_t(column)] : std::string();
    if (entry.empty()) return {};
    const std::string f = csvField(entry[0], column + 1);
    // A missing field reads as "Error": shown as the empty field it is.
    return f == "Error" && entry[0].find("Error") == std::string::npos ? std::string() : f;
}

int intField(const TableDef& def, const std::vector<std::string>& entry, int column) {
    return parseInt(rawField(def, entry, column)).value_or(0);
}

// A new row's values as the table's description gives them: frames around
// the cursor (in frames, or in metres through the recorded speed), the other
// columns their fixed defaults.
std::vector<std::string> defaultValues(const RouteDocument& doc, const TableDef& def, int at) {
    std::vector<std::string> values;
    for (const ColumnDesc& c : def.section->columns) {
        if (c.type != ValueType::Frame) {
            values.push_back(c.newText);
            continue;
        }
        int frame = at + c.newOffset;
        if (c.newMetres != 0) {
            const auto [before, after] = doc.framesAround(at, std::fabs(c.newMetres));
            frame = c.newMetres < 0 ? before : after;
        }
        values.push_back(std::to_string(std::max(frame, 0)));
    }
    return values;
}

// The entry's lines: one per value, or the values in one comma row.
std::vector<std::string> entryOf(const TableDef& def, const std::vector<std::string>& values) {
    if (def.entryLines > 1) return values;
    std::string row;
    for (size_t i = 0; i < values.size(); ++i) row += (i ? "," : "") + values[i];
    return {row};
}

struct StopPlace {
    int kind, from, to;
    bool operator==(const StopPlace&) const = default;
};

std::vector<StopPlace> stopPlaces(const TableDef& def, const std::vector<std::vector<std::string>>& rows) {
    std::vector<StopPlace> out;
    for (const auto& r : rows) out.push_back({intField(def, r, 1), intField(def, r, 2), intField(def, r, 3)});
    return out;
}

bool stopsThere(const StopPlace& p) { return p.kind == 0 || p.kind == 2; }

}  // namespace

bool RouteDocument::fillNextStopDistances(std::vector<std::vector<std::string>>& rows) const {
    // Only when a stop moved, came or went: a distance typed in by hand stays
    // while nothing it depends on changes.
    const TableDef& def = tableDef(TableKind::Station);
    const auto places = stopPlaces(def, rows);
    if (places == stopPlaces(def, entries(TableKind::Station))) return false;
    // The distance between two stop marks (the middles of the stop ranges)
    // through the recorded speed, frame by frame as a run reads it.
    auto mark = [](const StopPlace& p) { return (p.from + p.to) / 2; };
    int last = 0;
    for (const auto& p : places) last = std::max(last, mark(p));
    std::vector<double> metres(size_t(last) + 2, 0.0);
    Motion m;
    for (int f = 0; f <= last; ++f) {
        m.trainPosition = f;
        updateRecordedSpeed(s_->route, m);
        metres[size_t(f) + 1] = metres[size_t(f)] + std::max(m.recordedSpeedKmh, 1) / 108.0;
    }
    bool changed = false;
    for (size_t i = 0; i < rows.size(); ++i) {
        // A run never reads a passing station's distance: it stays as written.
        if (!stopsThere(places[i])) continue;
        long long cm = 0;
        for (size_t j = i + 1; j < places.size(); ++j)
            if (stopsThere(places[j])) {
                const int a = std::max(mark(places[i]), 0), b = std::max(mark(places[j]), 0);
                cm = std::llround((metres[size_t(b)] - metres[size_t(a)]) * 100);
                break;
            }
        cm = std::max(cm, 0LL);
        if (rows[i].empty()) continue;
        // A distance within a metre of this one is kept as written: worked out
        // from a finer speed than the run's whole km/h, or measured, it is no
        // worse, and a stop moved and moved back leaves the file as it was.
        const auto written = parseInt(csvField(rows[i][0], 8));
        if (written && (cm == 0 ? *written == 0 : std::llabs(*written - cm) < 100)) continue;
        rows[i][0] = replaceField(rows[i][0], 7, int(def.fields.size()), std::to_string(cm));
        changed = true;
    }
    return changed;
}

std::vector<std::vector<std::string>> RouteDocument::entries(TableKind kind) const {
    return blocksOf(s_->list(tableDef(kind))).entries;
}

int RouteDocument::rowCount(TableKind kind) const { return int(entries(kind).size()); }

const std::vector<FieldInfo>& RouteDocument::fields(TableKind kind) const { return tableDef(kind).fields; }

std::string RouteDocument::text(TableKind kind, int row, int column) const {
    const TableDef& def = tableDef(kind);
    const auto e = entries(kind);
    if (row < 0 || row >= int(e.size()) || column < 0 || column >= int(def.fields.size())) return {};
    const std::string raw = rawField(def, e[size_t(row)], column);
    switch (def.fields[size_t(column)].type) {
        case T::Text: return TextEncoding{s_->utf8()}.decode(raw);
        case T::Time:
            if (auto t = parseInt(raw)) return timeText(*t);
            return raw;
        case T::Integer:
        case T::Frame:
            if (auto v = parseInt(raw)) return std::to_string(*v);
            return raw;
        case T::Gradient: return raw;
    }
    return raw;
}

bool RouteDocument::writeEntries(TableKind kind, const std::vector<std::vector<std::string>>& rows, int checkRow,
                                 std::string* error) {
    const TableDef& def = tableDef(kind);
    if (int(rows.size()) > kRouteRows)
        return setError(error, "a table holds at most " + std::to_string(kRouteRows) + " rows");
    std::vector<std::string> lines = blocksOf(s_->list(def)).head;
    if (kind == TableKind::Station) {
        auto withDistances = rows;
        if (fillNextStopDistances(withDistances)) return writeEntries(kind, withDistances, checkRow, error);
    }
    for (const auto& r : rows) lines.insert(lines.end(), r.begin(), r.end());
    const std::string next = s_->withList(def, lines);
    State trial = *s_;
    trial.bytes = next;
    trial.reread();
    const bool worse = checkRow > 0 ? trial.errorsAt(def.marker, checkRow) > 0
                                    : trial.errorsAt(def.marker, 0) > s_->errorsAt(def.marker, 0);
    if (worse) {
        for (const Diagnostic& d : trial.readProblems.items())
            if (d.severity == Severity::Error && d.section == def.marker && (checkRow == 0 || d.row == checkRow))
                return setError(error, d.explanation);
    }
    apply(next);
    return true;
}

bool RouteDocument::setText(TableKind kind, int row, int column, const std::string& text, std::string* error) {
    const TableDef& def = tableDef(kind);
    auto rows = entries(kind);
    if (row < 0 || row >= int(rows.size()) || column < 0 || column >= int(def.fields.size()))
        return setError(error, "there is no such row or field");
    const FieldInfo::Type type = def.fields[size_t(column)].type;
    if (type == T::Text && text.find(',') != std::string::npos)
        return setError(error, "a comma would split the field in two: the route file has no quoting");
    std::string raw;
    if (!encodeValue(type, text, raw, error)) return false;
    std::vector<std::string>& entry = rows[size_t(row)];
    if (def.entryLines > 1) {
        while (int(entry.size()) < def.entryLines) entry.emplace_back();
        entry[size_t(column)] = raw;
    } else {
        if (entry.empty()) entry.emplace_back();
        entry[0] = replaceField(entry[0], column, int(def.fields.size()), raw);
    }
    const std::string& first = entry[0];
    if (!first.empty() && (first[0] == '#' || (def.skipSemicolon && first[0] == ';')))
        return setError(error, "a row that begins with \"" + first.substr(0, 1) + "\" would not be read as a row");
    if (rows == entries(kind)) return true;
    return writeEntries(kind, rows, row + 1, error);
}

std::vector<int> RouteDocument::frameColumns(TableKind kind) const {
    std::vector<int> columns;
    const auto& f = tableDef(kind).fields;
    for (size_t i = 0; i < f.size(); ++i)
        if (f[i].type == T::Frame) columns.push_back(int(i));
    return columns;
}

std::vector<int> RouteDocument::framePositions(TableKind kind, int row) const {
    const TableDef& def = tableDef(kind);
    const auto e = entries(kind);
    std::vector<int> out;
    if (row < 0 || row >= int(e.size())) return out;
    for (int c : frameColumns(kind)) out.push_back(intField(def, e[size_t(row)], c));
    return out;
}

bool RouteDocument::setFrame(TableKind kind, int row, int column, int frame) {
    const auto columns = frameColumns(kind);
    if (std::find(columns.begin(), columns.end(), column) == columns.end()) return false;
    return setText(kind, row, column, std::to_string(std::max(frame, 0)), nullptr);
}

int RouteDocument::addRow(TableKind kind, int at) {
    const TableDef& def = tableDef(kind);
    auto rows = entries(kind);
    at = std::max(at, 0);
    auto n = [](long long v) { return std::to_string(std::max(v, 0LL)); };
    const RouteData& r = s_->route;
    std::vector<std::string> entry;
    if (kind == TableKind::Station) {
        // Departure a minute after the previous stop's, the doors closing 10 s
        // after it: closing first, they would keep the melody from playing.
        int departure = r.startTime + 60 * 30;
        for (const StationData& s : r.stationTable)
            if (s.stopFrom < at && s.departureTime > 0) departure = s.departureTime + 60 * 30;
        // The stop range and the plain columns come from the description.
        auto values = defaultValues(*this, def, at);
        values[0] = "Station" + std::to_string(rows.size() + 1);
        values[5] = std::to_string(departure);
        values[6] = std::to_string(departure + 300);
        entry = entryOf(def, values);
    } else if (kind == TableKind::Signal) {
        // The signal stands at the cursor; its block starts where the previous one ends.
        long long from = -1;
        for (const SignalData& s : r.signalTable)
            if (s.toPosition < at) from = std::max<long long>(from, s.toPosition);
        if (from < 0) from = std::max(at - 900, 0);
        entry = {"0,S" + std::to_string(rows.size() + 1) + ",3," + n(from) + "," + n(at) + "," +
                 n(std::max<long long>(at - 50, from)) + "," + n(std::max<long long>(at - 10, from)) + ",0,0"};
    } else if (kind == TableKind::SpeedUnit) {
        // Split the row that holds the cursor, so that the curve keeps its shape and has no gap.
        const auto& units = r.speedUnitTable;
        for (size_t i = 0; i < units.size() && i < rows.size(); ++i) {
            const Speed_UnitData& u = units[i];
            if (u.fromPosition < at && at < u.toPosition) {
                const int speed = recordedSpeedAt(at);
                rows[i] = {n(u.fromPosition) + "," + n(at) + "," + std::to_string(u.fromSpeed) + "," +
                           std::to_string(speed)};
                rows.insert(rows.begin() + long(i) + 1,
                            std::vector<std::string>{n(at) + "," + n(u.toPosition) + "," + std::to_string(speed) + "," +
                                                     std::to_string(u.toSpeed)});
                return writeEntries(kind, rows, 0, nullptr) ? int(i) + 1 : -1;
            }
        }
        if (!units.empty() && at > units.back().toPosition) {
            const Speed_UnitData& u = units.back();
            entry = {n(u.toPosition) + "," + n(at) + "," + std::to_string(u.toSpeed) + "," + std::to_string(u.toSpeed)};
        } else if (units.empty()) {
            entry = {"0," + n(std::max(at, 1)) + ",40,40"};
        } else {
            return -1;  // the cursor is on a row's end: nothing to split
        }
    } else {
        entry = entryOf(def, defaultValues(*this, def, at));
    }
    // Kept in order of the table's position, as the run and the checker expect.
    const int key = intField(def, entry, def.keyColumn);
    size_t index = rows.size();
    for (size_t i = 0; i < rows.size(); ++i)
        if (intField(def, rows[i], def.keyColumn) > key) {
            index = i;
            break;
        }
    rows.insert(rows.begin() + long(index), entry);
    return writeEntries(kind, rows, 0, nullptr) ? int(index) : -1;
}

void RouteDocument::removeRow(TableKind kind, int row) {
    auto rows = entries(kind);
    if (row < 0 || row >= int(rows.size())) return;
    const TableDef& def = tableDef(kind);
    if (kind == TableKind::SpeedUnit && row > 0 && row + 1 < int(rows.size())) {
        // The row before takes over the removed one's frames, so that no gap opens.
        const auto& prev = rows[size_t(row - 1)];
        rows[size_t(row - 1)] = {rawField(def, prev, 0) + "," + rawField(def, rows[size_t(row)], 1) + "," +
                                 rawField(def, prev, 2) + "," + rawField(def, rows[size_t(row)], 3)};
    }
    // The comment lines after the row stay where they were in the file.
    const std::vector<std::string> comments(
        rows[size_t(row)].begin() + std::min<long>(def.entryLines, long(rows[size_t(row)].size())),
        rows[size_t(row)].end());
    if (row > 0) {
        auto& prev = rows[size_t(row - 1)];
        prev.insert(prev.end(), comments.begin(), comments.end());
    } else if (row + 1 < int(rows.size())) {
        auto& next = rows[size_t(row + 1)];
        next.insert(next.begin(), comments.begin(), comments.end());
    }
    rows.erase(rows.begin() + row);
    writeEntries(kind, rows, 0, nullptr);
}

void RouteDocument::removeRows(TableKind kind, std::vector<int> rows) {
    // From the last, so that the rows still to go keep their numbers.
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    beginGroup();
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) removeRow(kind, *it);
    endGroup();
}

}  // namespace ts::edit
