// The live check of a route document: the checker's rules, run on the
// document's bytes instead of the saved file.
#include "check/data_check.h"
#include "edit/route_document.h"
#include "edit/route_tables.h"

namespace ts::edit {

Diagnostics checkDocument(const RouteDocument& doc, const std::string& code, CheckDevices& devices) {
    Diagnostics out;
    const std::string bytes = doc.bytes();
    checkTrain(code, devices, out, &bytes);
    return out;
}

std::optional<std::pair<TableKind, int>> rowOf(const Diagnostic& d) {
    const std::string suffix = "_line.txt";
    if (d.file.size() < suffix.size() || d.file.compare(d.file.size() - suffix.size(), suffix.size(), suffix) != 0)
        return std::nullopt;
    if (d.row <= 0) return std::nullopt;
    for (const TableDef& t : tableDefs())
        if (d.section == t.marker) return std::pair<TableKind, int>{t.kind, d.row - 1};
    return std::nullopt;
}

}  // namespace ts::edit
