#include "gps/route_sections.h"

#include <algorithm>

namespace ts::gps {

namespace {

// Byte offsets where each line starts, split as the reader splits (at LF),
// plus the end of the file.
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

std::string lineEndOf(const std::string& bytes, size_t lineEndOffset) {
    return lineEndOffset >= 2 && bytes[lineEndOffset - 1] == '\n' && bytes[lineEndOffset - 2] == '\r' ? "\r\n" : "\n";
}

}  // namespace

std::string rewriteSections(const std::string& bytes, const std::vector<SectionSpan>& spans,
                            const std::map<std::string, std::vector<std::string>>& rows) {
    const std::vector<size_t> starts = lineStarts(bytes);
    const std::string fileEnd = starts.size() > 1 ? lineEndOf(bytes, starts[1]) : "\r\n";
    struct Cut {
        size_t from, to;
        std::string text;
    };
    std::vector<Cut> cuts;
    std::string appended;
    for (const auto& [marker, lines] : rows) {
        // The reader keeps the last reading of a section, so that is the one to rewrite.
        const SectionSpan* span = nullptr;
        for (const SectionSpan& s : spans)
            if (s.marker == marker) span = &s;
        if (span && span->endLine >= span->markerLine + 2 && span->endLine < starts.size()) {
            const std::string eol = lineEndOf(bytes, starts[span->markerLine + 1]);
            std::string text;
            for (const std::string& l : lines) text += l + eol;
            cuts.push_back({starts[span->markerLine + 1], starts[span->endLine - 1], text});
        } else {
            appended += marker + fileEnd;
            for (const std::string& l : lines) appended += l + fileEnd;
            appended += "#" + fileEnd;
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

}  // namespace ts::gps
