// The words the editor shows for the route file's tables and columns. The
// file's own column names are code words (the checker and the format document
// use them as they are); people see them through a translation, listed once.
#pragma once
#include <QString>

#include <string>

namespace ts::editor {

// A table's title ("Stations") or a column's name ("stopFrom") as shown in
// the current language; a name without a translation is shown as it is.
QString shownTableTitle(const std::string& title);
QString columnTitle(const std::string& column);

// Every title and column name the editor knows a translation for, for the
// test that keeps the list in step with the route file's sections.
bool knowsTableTitle(const std::string& title);
bool knowsColumnTitle(const std::string& column);

}  // namespace ts::editor
