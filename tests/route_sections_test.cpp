// The route file's description against what uses it: every section through
// the reader, the editor's model and the writer, and the format document.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "data/fields.h"
#include "data/route_sections.h"
#include "data/text_codec.h"
#include "data/text_file.h"
#include "edit/route_document.h"
#include "edit/route_tables.h"
#include "test_support.h"

using namespace ts;
using namespace ts::edit;
using ts::test::TempDir;

namespace {

std::string sjis(const std::string& utf8) { return utf8ToCp932(utf8).value(); }

// Every section a route file has, as a Windows editor writes it: Shift-JIS,
// CR LF, a comment in [Sound], no line end after the last line.
std::string everySection() {
    std::string k1;
    for (int i = 0; i < kKankoSlots1; ++i) k1 += "k" + std::to_string(i) + ".wav\r\n";
    return sjis(
        "[LineName]\r\n北の線\r\n[StartPos]\r\n100\r\n[FrameRate]\r\n30\r\n[Staf]\r\nstaf.bmp\r\n"
        "[StartTime]\r\n864000\r\n[Speed_YY]\r\n25\r\n[Speed_Y]\r\n45\r\n[Speed_YG]\r\n65\r\n"
        "[Speed_G]\r\n120\r\n[Path]\r\nvideo\\ride.mp4\r\n[Pre_Time]\r\n60\r\n[OneMan]\r\n1\r\n"
        "[SoundData]\r\nbell.wav\r\nhorn.wav\r\n#\r\n[Announce]\r\n1,400\r\n#\r\n[KankoSound1]\r\n" +
        k1 +
        "[KankoSound2]\r\n出発進行\r\ncall.wav\r\n#\r\n"
        "[Sound]\r\n;a comment\r\n0,500,900,1,0\r\n#\r\n[Doppler]\r\n0,600,700,800\r\n#\r\n"
        "[Tunnel]\r\n1200\r\n1400\r\n#\r\n"
        "[Station]\r\n東駅,0,90,110,0,864900,864600,144979\r\n西駅,0,2900,2920,1,873000,872700,0\r\n#\r\n"
        "[StopSound]\r\n95\r\n2905\r\n#\r\n[Signal]\r\n0,一,3,100,1000,950,990,0,867000\r\n#\r\n"
        "[Slope]\r\n2.50,500,900\r\n-1,900,1100\r\n#\r\n[Sign]\r\n0,300,450\r\n#\r\n"
        "[SpeedLimit]\r\n45,1500,1800,2100\r\n#\r\n[SpeedCheck]\r\n45,1800\r\n#\r\n"
        "[SpeedUnit]\r\n100,500,0,60\r\n500,3000,60,60\r\n#\r\n[DistanceMark]\r\n300,1200\r\n2000,2950\r\n#\r\n["
        "Letterbox]\r\n1\r\n[EndPos]\r\n3000");
}

RouteDocument openBytes(const TempDir& dir, const std::string& bytes, const std::string& name) {
    const std::string path = dir.write(name, bytes);
    std::string error;
    auto doc = RouteDocument::open(path, &error);
    EXPECT_TRUE(doc) << error;
    return std::move(*doc);
}

// A value the editor shows, as the reader stored it.
std::string shown(const ColumnDesc& c, const Cell& v) {
    switch (c.type) {
        case ValueType::Time: return timeText(v.number);
        case ValueType::Text:
        case ValueType::FileName:
        case ValueType::Picture: return v.text;
        default: return std::to_string(v.number);
    }
}

// Another value of the same type, that the reader takes.
std::string other(const ColumnDesc& c, const std::string& text) {
    switch (c.type) {
        case ValueType::Time: return timeText(*parseTime(text) + 30);
        case ValueType::Text:
        case ValueType::FileName:
        case ValueType::Picture: return text + "x";
        case ValueType::Gradient: return text == "7" ? "8" : "7";
        default: {
            const int v = *parseInt(text);
            return std::to_string(c.range && v + 1 > c.range->second ? v - 1 : v + 1);
        }
    }
}

// Every table and single value the editor has: the reader's values are what
// the editor shows, and a change and its reversal through the writer give
// back the file byte for byte, the reader seeing each change.
void roundTrip(RouteDocument& doc, const std::string& original, int rowsPerTable) {
    ASSERT_EQ(doc.bytes(), original);
    for (const TableDef& t : tableDefs()) {
        const SectionDesc& s = *t.section;
        const int rows = std::min(doc.rowCount(t.kind), rowsPerTable);
        for (int row = 0; row < rows; ++row) {
            for (size_t c = 0; c < s.columns.size(); ++c) {
                const ColumnDesc& col = s.columns[c];
                SCOPED_TRACE(s.marker + " row " + std::to_string(row + 1) + " " + col.name);
                const std::string text = doc.text(t.kind, row, int(c));
                if (col.type == ValueType::Gradient) {
                    EXPECT_EQ(parseFixed(text), col.get(doc.route(), size_t(row))->number);
                } else {
                    EXPECT_EQ(text, shown(col, *col.get(doc.route(), size_t(row))));
                }
                const std::string changed = other(col, text);
                std::string error;
                ASSERT_TRUE(doc.setText(t.kind, row, int(c), changed, &error)) << error;
                EXPECT_NE(doc.bytes(), original);
                if (col.type != ValueType::Gradient) {
                    EXPECT_EQ(shown(col, *col.get(doc.route(), size_t(row))), changed) << "the reader sees the change";
                }
                ASSERT_TRUE(doc.setText(t.kind, row, int(c), text, &error)) << error;
                EXPECT_EQ(doc.bytes(), original) << "written back as it was";
            }
        }
    }
    for (int v = 0; v < kRouteValueCount; ++v) {
        const SectionDesc& s = routeSection(RouteValue(v));
        const ColumnDesc& col = s.columns.front();
        SCOPED_TRACE(s.marker);
        const std::string text = doc.single(RouteValue(v));
        if (text.empty()) continue;  // not in this file
        if (s.marker != "[Pre_Time]") {
            EXPECT_EQ(text, shown(col, *col.get(doc.route(), 0)));
        }
        std::string error;
        const std::string changed = other(col, text);
        ASSERT_TRUE(doc.setSingle(RouteValue(v), changed, &error)) << error;
        EXPECT_NE(doc.bytes(), original);
        ASSERT_TRUE(doc.setSingle(RouteValue(v), text, &error)) << error;
        EXPECT_EQ(doc.bytes(), original) << "written back as it was";
    }
}

}  // namespace

TEST(RouteSections, EveryTableRoundTripsThroughReaderEditorAndWriter) {
    TempDir dir;
    const std::string windows = everySection();
    RouteDocument doc = openBytes(dir, windows, "789_line.txt");
    for (const TableDef& t : tableDefs()) EXPECT_GT(doc.rowCount(t.kind), 0) << t.marker << " is in the file";
    roundTrip(doc, windows, 3);
}

TEST(RouteSections, TheDemoRoutesRoundTrip) {
    for (const char* code : {"789", "40"}) {
        SCOPED_TRACE(code);
        const std::string path = std::string(TRAINSIM_DEMO) + "/" + code + "_line.txt";
        std::string error;
        auto doc = RouteDocument::open(path, &error);
        ASSERT_TRUE(doc) << error;
        roundTrip(*doc, readFileBytes(path).value(), 2);
    }
}

TEST(RouteSections, TheDescriptionNamesEveryEditorTableAndValueOnce) {
    std::vector<int> tabs, values(kRouteValueCount);
    for (const SectionDesc& s : routeSections()) {
        if (s.tab > 0) tabs.push_back(s.tab);
        if (s.value) ++values[size_t(*s.value)];
        EXPECT_EQ(routeSection(s.marker), &s) << "one description per marker: " << s.marker;
        EXPECT_FALSE(s.columns.empty()) << s.marker;
        if (s.tab > 0) {
            EXPECT_TRUE(s.isList()) << s.marker;
            EXPECT_FALSE(s.title.empty()) << s.marker;
            ASSERT_TRUE(s.rows && s.addRow) << s.marker;
            for (const ColumnDesc& c : s.columns) EXPECT_TRUE(c.get && c.set) << s.marker << " " << c.name;
        }
    }
    // One table a tab, the tabs numbered from 1 without a gap.
    std::sort(tabs.begin(), tabs.end());
    for (size_t i = 0; i < tabs.size(); ++i) EXPECT_EQ(tabs[i], int(i) + 1);
    EXPECT_EQ(values, std::vector<int>(kRouteValueCount, 1));
    // A table is named by its section's marker; the names the rules use are tables.
    ASSERT_EQ(tableDefs().size(), tabs.size());
    for (const TableDef& t : tableDefs()) {
        EXPECT_EQ(&t.kind.section(), t.section);
        EXPECT_EQ(tableKind(t.marker), t.kind);
    }
    for (TableKind k :
         {TableKind::Station, TableKind::Signal, TableKind::SpeedLimit, TableKind::SpeedCheck, TableKind::Slope,
          TableKind::Sign, TableKind::Tunnel, TableKind::RouteSound, TableKind::Announce, TableKind::Doppler,
          TableKind::StopSound, TableKind::SpeedUnit, TableKind::DistanceMark})
        EXPECT_TRUE(tableKind(k.marker())) << k.marker();
    EXPECT_EQ(tableDefs().front().kind, TableKind::Station) << "the first tab";
    EXPECT_FALSE(tableKind("[SoundData]")) << "a file list has no table of its own";
}

// The section table of docs/data-formats.md is the description's: a section or
// column changed in one and not the other fails here, with the text to paste.
TEST(RouteSections, TheFormatDocumentMatchesTheDescription) {
    const std::string doc = readFileBytes(std::string(TRAINSIM_DOCS) + "/data-formats.md").value();
    const std::string begin = "<!-- route sections: generated -->\n";
    const std::string end = "<!-- end of route sections -->";
    const size_t from = doc.find(begin);
    const size_t to = doc.find(end);
    ASSERT_NE(from, std::string::npos);
    ASSERT_NE(to, std::string::npos);
    const std::string table = doc.substr(from + begin.size(), to - from - begin.size());
    EXPECT_EQ(table, routeSectionsMarkdown()) << "paste between the markers:\n" << routeSectionsMarkdown();
}
