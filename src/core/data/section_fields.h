// The names of the values of each section, so that a problem can say which
// value it is about: comma-row fields by column, the lines of a multi-line
// entry or of a single-value section by their place.
#pragma once
#include <string>
#include <string_view>

namespace ts {

// `index` counts from 1: the column of a comma row, or the line within the
// entry (row > 0) or after the marker (row 0). Empty when unknown.
std::string sectionFieldName(std::string_view section, int row, int index);

// Whether the entries of this list are comma rows (and `index` is a column).
bool isCommaRowList(std::string_view section);

}  // namespace ts
