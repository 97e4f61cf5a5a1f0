#include "edit/route_tables.h"

#include <cstdio>

#include "data/fields.h"

namespace ts::edit {

namespace {
using T = FieldInfo::Type;
}

FieldInfo::Type editorType(ValueType type) {
    switch (type) {
        case ValueType::Integer: return T::Integer;
        case ValueType::Frame: return T::Frame;
        case ValueType::Time: return T::Time;
        // A decimal kept ×10000 whatever it measures.
        case ValueType::Gradient:
        case ValueType::Fixed: return T::Gradient;
        case ValueType::Real:
        case ValueType::Text:
        case ValueType::FileName:
        case ValueType::Picture: return T::Text;
    }
    return T::Text;
}

const std::vector<TableDef>& tableDefs() {
    static const std::vector<TableDef> defs = [] {
        std::vector<TableDef> out;
        for (const SectionDesc* s : routeTableSections()) {
            TableDef d{TableKind(s->marker), s->marker.c_str(), s->entryLines, s->skipSemicolon, s->keyColumn, {}, s};
            for (const ColumnDesc& c : s->columns) d.fields.push_back({c.name, editorType(c.type)});
            out.push_back(std::move(d));
        }
        return out;
    }();
    return defs;
}

const TableDef& tableDef(TableKind kind) {
    const std::vector<TableDef>& defs = tableDefs();
    for (const TableDef& d : defs)
        if (d.kind == kind) return d;
    return defs.front();
}

std::optional<TableKind> tableKind(std::string_view marker) {
    for (const TableDef& d : tableDefs())
        if (d.kind.marker() == marker) return d.kind;
    return std::nullopt;
}

const SectionDesc& TableKind::section() const { return *tableDef(*this).section; }

const SingleDef& singleDef(SingleValue value) {
    static const std::vector<SingleDef> defs = [] {
        std::vector<SingleDef> out;
        for (int v = 0; v < kRouteValueCount; ++v) {
            const SectionDesc& s = routeSection(SingleValue(v));
            out.push_back({SingleValue(v), s.marker.c_str(), editorType(s.columns.front().type)});
        }
        return out;
    }();
    return defs[size_t(value)];
}

std::string timeText(long long ticks) {
    if (ticks < 0) return std::to_string(ticks);
    const long long s = ticks / 30;
    char buf[48];
    std::snprintf(buf, sizeof buf, "%02lld:%02lld:%02lld", s / 3600, s / 60 % 60, s % 60);
    std::string out = buf;
    if (ticks % 30) out += "+" + std::to_string(ticks % 30);
    return out;
}

std::optional<long long> parseTime(const std::string& text) {
    if (text.find(':') == std::string::npos) {
        auto v = parseInt(text);
        if (!v) return std::nullopt;
        return *v;
    }
    std::string clock = text, extra;
    if (const size_t plus = text.find('+'); plus != std::string::npos) {
        clock = text.substr(0, plus);
        extra = text.substr(plus + 1);
    }
    long long parts[3] = {0, 0, 0};
    int n = 0;
    size_t at = 0;
    while (n < 3) {
        const size_t colon = clock.find(':', at);
        const std::string piece = clock.substr(at, colon == std::string::npos ? std::string::npos : colon - at);
        if (piece.empty() || piece.find_first_not_of("0123456789") != std::string::npos || piece.size() > 6)
            return std::nullopt;
        parts[n++] = std::stoll(piece);
        if (colon == std::string::npos) break;
        at = colon + 1;
    }
    if (n < 2 || (n == 3 && clock.find(':', at) != std::string::npos)) return std::nullopt;
    if (parts[1] > 59 || parts[2] > 59) return std::nullopt;
    long long ticks = (parts[0] * 3600 + parts[1] * 60 + parts[2]) * 30;
    if (!extra.empty()) {
        auto t = parseInt(extra);
        if (!t || *t < 0 || *t > 29) return std::nullopt;
        ticks += *t;
    }
    return ticks;
}

std::string replaceField(const std::string& row, int column, int columns, const std::string& value) {
    std::vector<std::string> fields;
    size_t at = 0;
    while (int(fields.size()) < columns - 1) {
        const size_t comma = row.find(',', at);
        if (comma == std::string::npos) break;
        fields.push_back(row.substr(at, comma - at));
        at = comma + 1;
    }
    fields.push_back(at <= row.size() ? row.substr(at) : std::string());
    while (int(fields.size()) <= column) fields.emplace_back();
    fields[size_t(column)] = value;
    std::string out;
    for (size_t i = 0; i < fields.size(); ++i) out += (i ? "," : "") + fields[i];
    return out;
}

}  // namespace ts::edit
