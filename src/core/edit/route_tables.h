// The route file's editable tables and single values: their markers, columns
// and defaults, and the text conversions the editor shows and accepts.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "edit/route_document.h"

namespace ts::edit {

// An editor table, as the route file's sections describe it.
struct TableDef {
    TableKind kind;
    const char* marker;
    int entryLines;      // 2 for [Tunnel]: one value per line
    bool skipSemicolon;  // [Sound] skips lines starting with ";"
    int keyColumn;       // the frame the table is kept in order by
    std::vector<FieldInfo> fields;
    const SectionDesc* section;
};

const TableDef& tableDef(TableKind kind);
// Every table, in the order of the editor's tabs.
const std::vector<TableDef>& tableDefs();
// The table of a section, by its marker as the file or a diagnostic names it.
std::optional<TableKind> tableKind(std::string_view marker);

struct SingleDef {
    SingleValue value;
    const char* marker;
    FieldInfo::Type type;
};

// How the editor shows and takes a value of the type the description gives.
FieldInfo::Type editorType(ValueType type);

const SingleDef& singleDef(SingleValue value);

// "08:00:00"; "08:00:00+15" when the time is not on a whole second.
std::string timeText(long long ticks);
// "08:00:00", "08:00", "08:00:00+15" or a plain number of ticks.
std::optional<long long> parseTime(const std::string& text);

// The n-th field (from 0) replaced in a comma row; the row is padded with
// empty fields when it has fewer. The last of `columns` fields runs to the
// end of the row, as the reader reads it.
std::string replaceField(const std::string& row, int column, int columns, const std::string& value);

}  // namespace ts::edit
