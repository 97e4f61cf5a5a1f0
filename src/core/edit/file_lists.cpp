// The file lists side of a route document: entries of whole lines, edited
// one value at a time, added and removed with the reader's rules checked.
#include "edit/file_lists.h"

#include <algorithm>

#include "data/section_rewriter.h"
#include "data/text_codec.h"
#include "edit/document_state.h"

namespace ts::edit {

namespace {

bool setError(std::string* error, const std::string& why) {
    if (error) *error = why;
    return false;
}

// The shape the document's list reading and rewriting take.
TableDef listDef(const SectionDesc& s) {
    return TableDef{TableKind(s.marker), s.marker.c_str(), s.entryLines, s.skipSemicolon, s.keyColumn, {}, &s};
}

}  // namespace

const std::vector<const SectionDesc*>& fileListSections() {
    static const std::vector<const SectionDesc*> lists = [] {
        std::vector<const SectionDesc*> out;
        for (const SectionDesc& s : routeSections())
            if (s.isList() && s.tab == 0) out.push_back(&s);
        return out;
    }();
    return lists;
}

const SectionDesc* fileListSection(const std::string& marker) {
    for (const SectionDesc* s : fileListSections())
        if (s->marker == marker) return s;
    return nullptr;
}

std::vector<std::vector<std::string>> RouteDocument::listEntries(const SectionDesc& s) const {
    const ListBody body = s_->list(listDef(s));
    std::vector<std::vector<std::string>> out;
    for (size_t i = 0; i < body.entryStarts.size(); ++i) {
        const size_t from = body.entryStarts[i];
        const size_t to = std::min(from + size_t(s.entryLines), body.lines.size());
        out.emplace_back(body.lines.begin() + long(from), body.lines.begin() + long(to));
    }
    // A fixed list is read line by line to its length, whatever the lines hold.
    if (fixedLength(s)) out.resize(std::min(out.size(), size_t(s.capacity)));
    return out;
}

bool RouteDocument::writeListEntries(const SectionDesc& s, const std::vector<std::vector<std::string>>& rows,
                                     int checkRow, std::string* error) {
    if (int(rows.size()) > s.capacity)
        return setError(error, s.marker + " holds at most " + std::to_string(s.capacity) + " entries");
    std::vector<std::string> lines;
    for (const auto& r : rows) {
        lines.insert(lines.end(), r.begin(), r.end());
        // Every entry has all its lines, or the next entry would be read out of step.
        for (size_t k = r.size(); k < size_t(s.entryLines); ++k) lines.emplace_back();
    }
    const std::string next =
        rewriteSections(s_->bytes, s_->spans,
                        std::map<std::string, SectionBody>{{s.marker, SectionBody{lines, !fixedLength(s), false}}});
    State trial = *s_;
    trial.bytes = next;
    trial.reread();
    const bool worse =
        checkRow > 0 ? trial.errorsAt(s.marker, checkRow) > 0 : trial.errorsAt(s.marker, 0) > s_->errorsAt(s.marker, 0);
    if (worse) {
        for (const Diagnostic& d : trial.readProblems.items())
            if (d.severity == Severity::Error && d.section == s.marker && (checkRow == 0 || d.row == checkRow))
                return setError(error, d.explanation);
    }
    apply(next);
    return true;
}

int RouteDocument::listCount(const std::string& marker) const {
    const SectionDesc* s = fileListSection(marker);
    return s ? int(listEntries(*s).size()) : 0;
}

std::string RouteDocument::listText(const std::string& marker, int row, int column) const {
    const SectionDesc* s = fileListSection(marker);
    if (!s || column < 0 || column >= int(s->columns.size())) return {};
    const auto rows = listEntries(*s);
    if (row < 0 || row >= int(rows.size()) || size_t(column) >= rows[size_t(row)].size()) return {};
    return TextEncoding{s_->utf8()}.decode(rows[size_t(row)][size_t(column)]);
}

namespace {

// A value as a list line may hold it: one line that the reader takes whole
// and does not mistake for the end of the list or another section.
bool listValueAllowed(const SectionDesc& s, int column, const std::string& text, std::string* error) {
    if (!text.empty() && text[0] == '[')
        return setError(error, "a line that begins with \"[\" could be read as the marker of a section");
    if (column == 0 && !fixedLength(s) && !text.empty() && text[0] == '#')
        return setError(error, "an entry that begins with \"#\" would end the list");
    if (s.columns[size_t(column)].type == ValueType::FileName && text.find(',') != std::string::npos)
        return setError(error, "a comma would cut the file name short: the reader takes the name before it");
    return true;
}

}  // namespace

bool RouteDocument::setListText(const std::string& marker, int row, int column, const std::string& text,
                                std::string* error) {
    const SectionDesc* s = fileListSection(marker);
    if (!s || column < 0 || column >= int(s->columns.size())) return setError(error, "there is no such list or value");
    auto rows = listEntries(*s);
    if (row < 0 || row >= int(rows.size())) return setError(error, "there is no such entry");
    if (!listValueAllowed(*s, column, text, error)) return false;
    std::string raw;
    if (!encodeValue(FieldInfo::Type::Text, text, raw, error)) return false;
    auto& entry = rows[size_t(row)];
    while (entry.size() <= size_t(column)) entry.emplace_back();
    if (entry[size_t(column)] == raw) return true;
    entry[size_t(column)] = raw;
    return writeListEntries(*s, rows, row + 1, error);
}

int RouteDocument::addListEntry(const std::string& marker, int row, const std::vector<std::string>& values,
                                std::string* error) {
    const SectionDesc* s = fileListSection(marker);
    if (!s) {
        setError(error, "there is no such list");
        return -1;
    }
    if (fixedLength(*s)) {
        setError(error, s->marker + " always holds " + std::to_string(s->capacity) + " entries");
        return -1;
    }
    auto rows = listEntries(*s);
    std::vector<std::string> entry;
    for (size_t c = 0; c < s->columns.size(); ++c) {
        const std::string text = c < values.size() ? values[c] : std::string();
        std::string raw;
        if (!listValueAllowed(*s, int(c), text, error) || !encodeValue(FieldInfo::Type::Text, text, raw, error))
            return -1;
        entry.push_back(raw);
    }
    row = std::clamp(row, 0, int(rows.size()));
    rows.insert(rows.begin() + row, entry);
    if (!writeListEntries(*s, rows, row + 1, error)) return -1;
    return row;
}

bool RouteDocument::removeListEntries(const std::string& marker, std::vector<int> which) {
    const SectionDesc* s = fileListSection(marker);
    if (!s || fixedLength(*s)) return false;
    auto rows = listEntries(*s);
    std::sort(which.begin(), which.end());
    which.erase(std::unique(which.begin(), which.end()), which.end());
    bool any = false;
    for (auto it = which.rbegin(); it != which.rend(); ++it)
        if (*it >= 0 && *it < int(rows.size())) {
            rows.erase(rows.begin() + *it);
            any = true;
        }
    return any && writeListEntries(*s, rows, 0, nullptr);
}

}  // namespace ts::edit
