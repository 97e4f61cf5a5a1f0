#include "edit/route_document.h"

#include <cerrno>
#include <cstring>

#include "data/fields.h"
#include "data/route_reader.h"
#include "data/route_sections.h"
#include "data/section_rewriter.h"
#include "data/text_codec.h"
#include "data/text_file.h"
#include "data/whole_file.h"
#include "devices/messages.h"
#include "edit/document_state.h"

namespace ts::edit {

namespace {

// The editor shows no pictures: every one "loads", and the live check
// reports those that would not.
class NoPictures final : public PictureLoader {
public:
    std::optional<int> load(const std::string&) override { return next_++; }
    PictureSize size(int) const override { return {}; }

private:
    int next_ = 0;
};

class NoBoxes final : public MessageBoxes {
public:
    void show(const std::string&) override {}
};

bool setError(std::string* error, const std::string& why) {
    if (error) *error = why;
    return false;
}

}  // namespace

void readDocumentRoute(const std::string& bytes, const std::string& fileName, RouteData& route,
                       std::vector<SectionSpan>& spans, Diagnostics& problems) {
    NoPictures pictures;
    NoBoxes boxes;
    route = RouteData{};
    problems = Diagnostics{};
    spans.clear();
    readRouteText(textFromBytes(bytes), fileName, route, pictures, boxes, &problems, &spans);
}

void RouteDocument::State::reread() { readDocumentRoute(bytes, fileName, route, spans, readProblems); }

bool RouteDocument::State::utf8() const { return isValidUtf8(bytes); }

ListBody RouteDocument::State::list(const TableDef& def) const {
    ListBody body;
    const SectionSpan* span = nullptr;
    for (const SectionSpan& s : spans)
        if (s.marker == def.marker) span = &s;
    if (!span) return body;
    const std::vector<std::string> lines = splitLines(bytes);
    body.present = true;
    for (size_t i = span->markerLine + 1; i < span->endLine && i < lines.size(); ++i) {
        if (i + 1 == span->endLine && !lines[i].empty() && lines[i][0] == '#') break;
        body.lines.push_back(lines[i]);
    }
    // Entries as the list reader takes them: the "#" test on an entry's first line only.
    for (size_t i = 0; i < body.lines.size();) {
        if (def.skipSemicolon && !body.lines[i].empty() && body.lines[i][0] == ';') {
            ++i;
            continue;
        }
        body.entryStarts.push_back(i);
        i += size_t(def.entryLines);
    }
    return body;
}

std::string RouteDocument::State::withList(const TableDef& def, const std::vector<std::string>& lines) const {
    return rewriteSections(bytes, spans,
                           std::map<std::string, SectionBody>{{def.marker, SectionBody{lines, true, false}}});
}

int RouteDocument::State::errorsAt(const std::string& section, int row) const {
    int n = 0;
    for (const Diagnostic& d : readProblems.items())
        n += d.severity == Severity::Error && d.section == section && (row == 0 || d.row == row);
    return n;
}

RouteDocument::RouteDocument() : s_(std::make_unique<State>()) {}
RouteDocument::RouteDocument(const RouteDocument& o) : changed(o.changed), s_(std::make_unique<State>(*o.s_)) {}
RouteDocument& RouteDocument::operator=(const RouteDocument& o) {
    if (this != &o) {
        s_ = std::make_unique<State>(*o.s_);
        changed = o.changed;
    }
    return *this;
}
RouteDocument::RouteDocument(RouteDocument&&) noexcept = default;
RouteDocument& RouteDocument::operator=(RouteDocument&&) noexcept = default;
RouteDocument::~RouteDocument() = default;

std::optional<RouteDocument> RouteDocument::open(const std::string& path, std::string* error) {
    FileRefusal refusal = FileRefusal::Missing;
    auto bytes = readFileBytes(path, &refusal);
    if (!bytes) {
        setError(error, "the route file \"" + path + "\" cannot be opened: " + refusalReason(refusal));
        return std::nullopt;
    }
    RouteDocument doc;
    doc.s_->fileName = baseName(path);
    doc.s_->bytes = *bytes;
    doc.s_->savedBytes = *bytes;
    doc.s_->reread();
    return doc;
}

RouteDocument RouteDocument::fresh(const std::string& videoFile, int videoFrames, const RouteLists& lists) {
    const int last = std::max(videoFrames - 1, 100);
    const std::string startTime = "864000";  // 08:00:00
    std::string b;
    auto add = [&](const std::string& line) { b += line + "\n"; };
    add("[LineName]");
    add(baseName(videoFile));
    add("[StartPos]");
    add("30");
    add("[FrameRate]");
    add("30");
    add("[Staf]");
    add("");
    add("[StartTime]");
    add(startTime);
    add("[Speed_YY]");
    add("25");
    add("[Speed_Y]");
    add("45");
    add("[Speed_YG]");
    add("65");
    add("[Speed_G]");
    add("120");
    add("[Path]");
    add(videoFile);
    // The preceding train starts beyond the end of the line: every block
    // signal added later shows clear, until the author sets a train to follow.
    add("[Pre_Time]");
    add(std::to_string((last - 30) / 30 + 1));
    add("[OneMan]");
    add("0");
    // The lists that the rows added later refer to by number: with them a
    // signal, a sign or a station's melody is seen and heard at once.
    auto list = [&](const char* marker, const std::vector<std::string>& names) {
        add(marker);
        for (const auto& n : names) add(n);
        add("#");
    };
    list("[SoundData]", lists.sounds);
    list("[SignalImageList]", lists.signalImages);
    list("[SignImageList]", lists.signImages);
    list("[OtherImageList]", lists.otherImages);
    // The run starts standing at the first station: 5 m either side of the
    // start at the template's 40 km/h, the melody at 08:00:20 and the doors
    // closing after it at 08:00:30.
    add("[Station]");
    add("Start,0,16,44,0,864600,864900,0");
    add("#");
    add("[SpeedUnit]");
    add("0," + std::to_string(last) + ",40,40");
    add("#");
    add("[EndPos]");
    add(std::to_string(last));
    RouteDocument doc;
    doc.s_->fileName = "route_line.txt";
    doc.s_->bytes = b;
    doc.s_->reread();
    return doc;
}

const RouteData& RouteDocument::route() const { return s_->route; }
std::string RouteDocument::fileName() const { return s_->fileName; }

bool RouteDocument::apply(const std::string& bytes) {
    if (bytes == s_->bytes) return false;
    if (s_->groupDepth == 0 || !s_->groupRecorded) {
        s_->undo.push_back(s_->bytes);
        if (s_->groupDepth > 0) s_->groupRecorded = true;
    }
    s_->redo.clear();
    s_->bytes = bytes;
    s_->reread();
    if (changed) changed();
    return true;
}

void RouteDocument::beginGroup() {
    if (s_->groupDepth++ == 0) s_->groupRecorded = false;
}
void RouteDocument::endGroup() {
    if (s_->groupDepth > 0) --s_->groupDepth;
}

bool RouteDocument::undo() {
    if (s_->undo.empty()) return false;
    s_->redo.push_back(s_->bytes);
    s_->bytes = s_->undo.back();
    s_->undo.pop_back();
    s_->reread();
    if (changed) changed();
    return true;
}

bool RouteDocument::redo() {
    if (s_->redo.empty()) return false;
    s_->undo.push_back(s_->bytes);
    s_->bytes = s_->redo.back();
    s_->redo.pop_back();
    s_->reread();
    if (changed) changed();
    return true;
}

bool RouteDocument::canUndo() const { return !s_->undo.empty(); }
bool RouteDocument::canRedo() const { return !s_->redo.empty(); }
bool RouteDocument::modified() const { return s_->bytes != s_->savedBytes; }
std::string RouteDocument::bytes() const { return s_->bytes; }

bool RouteDocument::save(const std::string& path, std::string* error) {
    const std::string& b = s_->bytes;
    if (!ts::replaceFile(path, b, error)) return false;
    s_->savedBytes = b;
    s_->fileName = baseName(path);
    if (changed) changed();
    return true;
}

std::string RouteDocument::single(SingleValue v) const {
    const SingleDef& def = singleDef(v);
    const SectionSpan* span = nullptr;
    for (const SectionSpan& s : s_->spans)
        if (s.marker == def.marker) span = &s;
    if (!span) return {};
    const std::vector<std::string> lines = splitLines(s_->bytes);
    const std::string raw = span->markerLine + 1 < lines.size() ? lines[span->markerLine + 1] : std::string();
    if (def.type == FieldInfo::Type::Text) return TextEncoding{s_->utf8()}.decode(raw);
    if (def.type == FieldInfo::Type::Time)
        if (auto t = parseInt(raw)) return timeText(*t);
    return raw;
}

bool RouteDocument::setSingle(SingleValue v, const std::string& text, std::string* error) {
    const SingleDef& def = singleDef(v);
    std::string raw;
    // Without [EndPos] the line ends where it always did.
    if (v == SingleValue::EndPos && text.empty()) {
        apply(
            rewriteSections(s_->bytes, s_->spans, std::map<std::string, SectionBody>{{def.marker, {{}, false, true}}}));
        return true;
    }
    if (!text.empty() && text[0] == '[')
        return setError(error, "a value line that begins with \"[\" could be read as the marker of a section");
    if (!encodeValue(def.type, text, raw, error)) return false;
    const std::string next =
        rewriteSections(s_->bytes, s_->spans, std::map<std::string, SectionBody>{{def.marker, {{raw}, false, false}}});
    State trial = *s_;
    trial.bytes = next;
    trial.reread();
    if (trial.errorsAt(def.marker, 0) > s_->errorsAt(def.marker, 0)) {
        for (const Diagnostic& d : trial.readProblems.items())
            if (d.severity == Severity::Error && d.section == def.marker) return setError(error, d.explanation);
    }
    apply(next);
    return true;
}

bool RouteDocument::setVideoAlignment(int offset, int rate, std::string* error) {
    const SectionDesc* s = routeSection("[VideoAlignment]");
    if (!s) return setError(error, "no video alignment section");
    for (const auto& [column, value] : {std::pair{0, offset}, std::pair{1, rate}}) {
        const auto& range = s->columns[size_t(column)].range;
        if (range && (value < range->first || value > range->second))
            return setError(error, "the " + s->columns[size_t(column)].meaning + " must be from " +
                                       std::to_string(range->first) + " to " + std::to_string(range->second));
    }
    const bool unchanged = offset == 0 && rate == kVideoRateUnit;
    const SectionBody body{
        unchanged ? std::vector<std::string>{} : std::vector<std::string>{std::to_string(offset), std::to_string(rate)},
        false, unchanged};
    apply(rewriteSections(s_->bytes, s_->spans, std::map<std::string, SectionBody>{{s->marker, body}}));
    return true;
}

bool RouteDocument::encodeValue(FieldInfo::Type type, const std::string& text, std::string& raw,
                                std::string* error) const {
    using T = FieldInfo::Type;
    switch (type) {
        case T::Integer:
        case T::Frame: {
            auto v = parseInt(text);
            if (!v)
                return setError(error, "\"" + text + "\" is not a whole number: write a decimal integer such as 120");
            if (*v < -kDataIntegerLimit || *v > kDataIntegerLimit)
                return setError(error, "\"" + text + "\" is beyond " + std::to_string(kDataIntegerLimit) +
                                           " (either way), the largest whole number a data file may hold");
            if (type == T::Frame && *v < 0) return setError(error, "a position is a frame number from 0");
            raw = std::to_string(*v);
            return true;
        }
        case T::Time: {
            auto t = parseTime(text);
            if (!t) return setError(error, "\"" + text + "\" is not a time: write hh:mm:ss (such as 08:15:30)");
            if (*t > kDataIntegerLimit) return setError(error, "the time is too large");
            raw = std::to_string(*t);
            return true;
        }
        case T::Gradient:
            if (!parseFixed(text))
                return setError(error, "\"" + text +
                                           "\" is not a number: write a decimal number with \".\" as the "
                                           "decimal point, such as 2.5");
            raw = text;
            return true;
        case T::Text: {
            if (text.find_first_of("\r\n") != std::string::npos)
                return setError(error, "a text of a route file is one line");
            if (!isValidUtf8(text)) return setError(error, "the text is not valid UTF-8");
            if (s_->utf8()) {
                raw = text;
                return true;
            }
            auto sjis = utf8ToCp932(text);
            if (!sjis)
                return setError(error,
                                "the route file is written in Shift-JIS, which has no form for some "
                                "character of \"" +
                                    text + "\"");
            raw = *sjis;
            return true;
        }
    }
    return false;
}

}  // namespace ts::edit
