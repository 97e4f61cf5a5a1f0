#include "data/section_rewriter.h"

#include <algorithm>

namespace ts {

namespace {

std::string lineEndOf(const std::string& bytes, size_t lineEndOffset) {
    return lineEndOffset >= 2 && bytes[lineEndOffset - 1] == '\n' && bytes[lineEndOffset - 2] == '\r' ? "\r\n" : "\n";
}

}  // namespace

std::vector<size_t> lineStarts(const std::string& bytes) {
    std::vector<size_t> starts;
    size_t at = 0;
    while (at < bytes.size()) {
        starts.push_back(at);
        const size_t lf = bytes.find('\n', at);
        at = lf == std::string::npos ? bytes.size() : lf + 1;
    }
    starts.push_back(bytes.size());
    return starts;
}

std::string fileLineEnd(const std::string& bytes) {
    const std::vector<size_t> starts = lineStarts(bytes);
    // A file of one line without its line end: Windows files are the usual ones.
    if (starts.size() < 2 || bytes[starts[1] - 1] != '\n') return "\r\n";
    return lineEndOf(bytes, starts[1]);
}

std::string rewriteSections(const std::string& bytes, const std::vector<SectionSpan>& spans,
                            const std::map<std::string, SectionBody>& sections) {
    const std::vector<size_t> starts = lineStarts(bytes);
    const size_t lineCount = starts.size() - 1;
    const std::string fileEnd = fileLineEnd(bytes);
    struct Cut {
        size_t from, to;
        std::string text;
    };
    std::vector<Cut> cuts;
    std::string appended;
    for (const auto& [marker, body] : sections) {
        // The reader keeps the last reading of a section, so that is the one to rewrite.
        const SectionSpan* span = nullptr;
        for (const SectionSpan& s : spans)
            if (s.marker == marker) span = &s;
        // A list's span runs to the line after its "#" line; one that ran into
        // the end of the file has no "#" line to keep.
        const bool whole = span && span->endLine <= lineCount &&
                           (!body.list || (span->endLine >= span->markerLine + 2 && span->endLine <= lineCount &&
                                           bytes[starts[span->endLine - 1]] == '#'));
        if (whole) {
            const size_t firstBody = span->markerLine + 1;
            // The marker line's own line end, unless it is the file's unended last line.
            const bool ended = bytes[starts[firstBody] - 1] == '\n';
            const std::string eol = ended ? lineEndOf(bytes, starts[firstBody]) : fileEnd;
            if (body.remove) {
                cuts.push_back({starts[span->markerLine], starts[span->endLine], {}});
                continue;
            }
            std::string text = ended ? "" : eol;
            for (const std::string& l : body.lines) text += l + eol;
            const size_t to = body.list ? starts[span->endLine - 1] : starts[span->endLine];
            // The last line of the file may lack its line end; the rewritten one keeps that.
            if (!body.list && span->endLine == lineCount && !bytes.empty() && bytes.back() != '\n' &&
                text.size() >= eol.size())
                text.resize(text.size() - eol.size());
            cuts.push_back({starts[std::min(firstBody, lineCount)], to, text});
        } else if (!body.remove) {
            appended += marker + fileEnd;
            for (const std::string& l : body.lines) appended += l + fileEnd;
            if (body.list) appended += "#" + fileEnd;
        }
    }
    std::sort(cuts.begin(), cuts.end(), [](const Cut& a, const Cut& b) { return a.from > b.from; });
    std::string out = bytes;
    for (const Cut& c : cuts) out.replace(c.from, c.to - c.from, c.text);
    if (!appended.empty()) {
        if (!out.empty() && out.back() != '\n') out += fileEnd;
        out += appended;
    }
    return out;
}

std::string rewriteSections(const std::string& bytes, const std::vector<SectionSpan>& spans,
                            const std::map<std::string, std::vector<std::string>>& rows) {
    std::map<std::string, SectionBody> sections;
    for (const auto& [marker, lines] : rows) sections[marker] = SectionBody{lines, true, false};
    return rewriteSections(bytes, spans, sections);
}

}  // namespace ts
