// The descriptions of the train file, the cab panel, "string.txt",
// "mascon.txt" and "gamepad.txt" against what uses them: the readers, the
// checker's field names and range refusals, and the format document's tables.
#include <gtest/gtest.h>

#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <limits>

#include "controls/pad_file.h"
#include "controls/pad_file_entries.h"
#include "data/controller_map.h"
#include "data/string_sections.h"
#include "data/text_codec.h"
#include "data/text_file.h"
#include "data/train_reader.h"
#include "data/train_sections.h"
#include "fake_pictures.h"
#include "recording_message_boxes.h"
#include "test_support.h"

using namespace ts;
using ts::test::TempDir;

namespace {

std::string fixedText(int64_t v) {
    std::string s = v < 0 ? "-" : "";
    const uint64_t a = v < 0 ? uint64_t(-v) : uint64_t(v);
    s += std::to_string(a / 10000);
    std::string frac = std::to_string(10000 + a % 10000).substr(1);
    while (!frac.empty() && frac.back() == '0') frac.pop_back();
    return frac.empty() ? s : s + "." + frac;
}

std::string realText(long double v) {
    char buf[128];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed);
    return std::string(buf, r.ptr);
}

std::string cellText(const TrainColumn& c, const Cell& v) {
    switch (c.type) {
        case ValueType::Real: return realText(v.real);
        case ValueType::Fixed: return fixedText(v.number);
        case ValueType::Text:
        case ValueType::FileName:
        case ValueType::Picture: return v.text;
        default: return std::to_string(v.number);
    }
}

// The train as its description writes it: every section in the reader's
// order, CR LF, a picture list's entries by the names the loader was given.
std::string writeTrain(TrainData t, const test::FakePictures& pictures) {
    std::string out;
    auto line = [&](const std::string& s) { out += s + "\r\n"; };
    for (const TrainSection& s : trainSections()) {
        // An empty table is left out: a diesel table is refused on an electric train even empty.
        if (s.isList() && !s.pictures && s.rows(t) == 0) continue;
        line(s.marker);
        for (const TrainColumn& c : s.head) line(cellText(c, c.get(t, 0).value()));
        if (!s.isList()) {
            for (const TrainColumn& c : s.columns) line(cellText(c, c.get(t, 0).value()));
            continue;
        }
        if (s.pictures) {
            for (int id : s.pictures(t).pictures)
                line(std::filesystem::path(pictures.paths.at(size_t(id))).filename().string());
        } else {
            for (size_t row = 0; row < s.rows(t); ++row)
                for (const TrainColumn& c : s.columns) line(cellText(c, c.get(t, row).value()));
        }
        line("#");
    }
    return out;
}

// A train file with every section, as a Windows editor writes it, in the
// form the writer above gives: the round trip must give it back byte for byte.
std::string everyTrainSection() {
    std::string s;
    int n = 1;
    for (const TrainSection& sec : trainSections()) {
        if (sec.marker == "[Engine]") continue;
        s += sec.marker + "\r\n";
        auto value = [&](const TrainColumn& c, int row) {
            switch (c.type) {
                // Halves and quarters: exact in the doubles of the traction tables too.
                case ValueType::Real: return std::to_string(row + 1) + (n++ % 2 ? ".25" : ".5");
                case ValueType::Fixed: return std::to_string(n++) + ".25";
                case ValueType::FileName:
                case ValueType::Picture: return "p" + std::to_string(n++) + ".bmp";
                default: break;
            }
            // Panel sizes, speeds and switches kept small and distinct; the gear speeds rise.
            return std::to_string(c.range ? std::max<int64_t>(c.range->first, 1) + n++ % 7 : 10 * row + n++);
        };
        for (const TrainColumn& c : sec.head) s += value(c, 0) + "\r\n";
        if (!sec.isList()) {
            for (const TrainColumn& c : sec.columns) {
                if (sec.marker == "[Engine_Type]")
                    s += "1\r\n";
                else if (sec.marker == "[Power]")
                    s += "2\r\n";
                else if (sec.marker == "[Tons]")
                    s += "32.5\r\n";
                else
                    s += value(c, 0) + "\r\n";
            }
            continue;
        }
        for (int row = 0; row < 2; ++row)
            for (const TrainColumn& c : sec.columns) s += value(c, row) + "\r\n";
        s += "#\r\n";
    }
    return s;
}

struct Read {
    TrainData train;
    Diagnostics problems;
    bool fatal = false;
};

Read readTrain(const TempDir& dir, const std::string& text, test::FakePictures& pictures, bool check = false) {
    const std::string path = dir.write("789_train.txt", text);
    test::ScopedCwd cwd(dir.path());
    RecordingMessageBoxes boxes;
    Read r;
    try {
        readTrainFile(path, r.train, pictures, boxes, check ? &r.problems : nullptr);
    } catch (const FatalError&) {
        r.fatal = true;
    }
    return r;
}

void writePictures(const TempDir& dir, const std::string& text) {
    // Every file name in the text is a 20 × 10 picture to the fake loader.
    for (size_t at = text.find("\r\np"); at != std::string::npos; at = text.find("\r\np", at + 1)) {
        const size_t end = text.find("\r\n", at + 2);
        dir.write(text.substr(at + 2, end - at - 2), "20x10");
    }
}

std::string between(const std::string& doc, const std::string& name) {
    const std::string begin = "<!-- " + name + ": generated -->\n";
    const std::string end = "<!-- end of " + name + " -->";
    const size_t from = doc.find(begin);
    const size_t to = doc.find(end);
    if (from == std::string::npos || to == std::string::npos) return "(markers of " + name + " missing)";
    return doc.substr(from + begin.size(), to - from - begin.size());
}

}  // namespace

// Every value the description names comes back through the reader and the
// description's own accessors, in the bytes it was written in.
TEST(TrainSections, EverySectionRoundTripsByteForByte) {
    TempDir dir;
    const std::string text = everyTrainSection();
    writePictures(dir, text);
    test::FakePictures pictures;
    const Read first = readTrain(dir, text, pictures);
    ASSERT_FALSE(first.fatal);
    EXPECT_EQ(first.train.notchRowCount, 2);
    EXPECT_EQ(first.train.motorSoundCount(), 2);
    EXPECT_EQ(first.train.otherPanelCount(), 2);
    EXPECT_EQ(first.train.NotchImageB.count(), 2);
    for (bool present : first.train.needlePresent) EXPECT_TRUE(present);
    const std::string written = writeTrain(first.train, pictures);
    EXPECT_EQ(written, text);

    // And the written file reads to the same values, cell by cell.
    test::FakePictures again;
    const Read second = readTrain(dir, written, again);
    ASSERT_FALSE(second.fatal);
    for (const TrainSection& s : trainSections()) {
        const size_t rows = s.isList() && s.rows ? s.rows(first.train) : 1;
        if (s.rows) {
            EXPECT_EQ(s.rows(second.train), rows) << s.marker;
        }
        for (size_t row = 0; row < rows; ++row)
            for (const TrainColumn& c : s.columns) {
                if (!c.get) continue;
                const Cell a = c.get(first.train, row).value(), b = c.get(second.train, row).value();
                EXPECT_EQ(a.number, b.number) << s.marker << " " << c.name;
                EXPECT_EQ(a.real, b.real) << s.marker << " " << c.name;
                EXPECT_EQ(a.text, b.text) << s.marker << " " << c.name;
            }
    }
}

TEST(TrainSections, OneDescriptionPerMarkerInTheReadersOrder) {
    const auto& all = trainSections();
    ASSERT_FALSE(all.empty());
    EXPECT_EQ(all.front().marker, "[Handle]");
    EXPECT_EQ(all.back().marker, "[Others]");
    for (const TrainSection& s : all) {
        EXPECT_EQ(trainSection(s.marker), &s) << s.marker;
        EXPECT_FALSE(s.columns.empty()) << s.marker;
        if (s.pictures) continue;
        for (const TrainColumn& c : s.columns) EXPECT_TRUE(c.get && c.set) << s.marker << " " << c.name;
        if (s.isList()) {
            EXPECT_TRUE(s.rows) << s.marker;
        }
    }
    // The panel's lamps and needles follow the train's tables, in their items' order.
    EXPECT_EQ(trainSection("[Lamp_Back]") - trainSection("[Panel]"), kPanelLampCount - 1);
    EXPECT_EQ(trainSection("[Needle_I]") - trainSection("[Needle_Speed]"), kNeedleCount - 1);
    EXPECT_TRUE(trainSection("[Clock]")->panel);
    EXPECT_FALSE(trainSection("[DriveSound]")->panel);
}

// Each ranged value is refused just outside its range with the problem
// naming its field, accepted at its bounds; a refused car count is kept as
// written, a refused panel position is not.
TEST(TrainSections, RangesRefuseOutsideAndNameTheField) {
    int ranged = 0;
    for (const TrainSection& s : trainSections()) {
        for (size_t i = 0; i < s.columns.size(); ++i) {
            const TrainColumn& c = s.columns[i];
            if (s.isList() || !c.range) continue;
            ++ranged;
            const bool fixed = c.type == ValueType::Fixed;
            auto file = [&](int64_t v) {
                std::string t = s.marker + "\r\n";
                for (size_t k = 0; k < s.columns.size(); ++k) {
                    if (k == i)
                        t += (fixed ? fixedText(v) : std::to_string(v)) + "\r\n";
                    else
                        t += s.columns[k].type == ValueType::FileName ? "\r\n" : "1\r\n";
                }
                return t;
            };
            const bool bounded = c.range->second != std::numeric_limits<int64_t>::max();
            for (int64_t v : {c.range->first, bounded ? c.range->second : c.range->first}) {
                TempDir dir;
                test::FakePictures pictures;
                EXPECT_TRUE(readTrain(dir, file(v), pictures, true).problems.items().empty()) << s.marker << " " << v;
            }
            std::vector<int64_t> outside{c.range->first - 1};
            if (bounded) outside.push_back(c.range->second + 1);
            for (int64_t v : outside) {
                TempDir dir;
                test::FakePictures pictures;
                const Read r = readTrain(dir, file(v), pictures, true);
                ASSERT_EQ(r.problems.items().size(), 1u) << s.marker << " " << v;
                const Diagnostic& d = r.problems.items().front();
                EXPECT_EQ(d.fieldName, c.name) << s.marker;
                EXPECT_EQ(d.explanation, c.refusal) << s.marker;
                EXPECT_EQ(d.line, int(i) + 2) << s.marker;
                EXPECT_EQ(c.get(r.train, 0).value().number, c.keptWhenRefused ? v : 0) << s.marker << " " << c.name;
            }
        }
    }
    // [Cars], [Tons], the clock and every lamp's and needle's position and size.
    EXPECT_EQ(ranged, 2 + 3 + kPanelLampCount * 2 + kNeedleCount * 4);
}

// An entry of a list is kept whole or not at all, except [Notch]'s, whose
// values go straight into their row: a checked file shows both as a run reads them.
TEST(TrainSections, AFailedEntryIsDroppedExceptANotchRow) {
    TempDir dir;
    test::FakePictures pictures;
    const Read r = readTrain(dir,
                             "[Engine_Type]\r\n1\r\n[Power]\r\n1\r\n[Notch]\r\n2.5\r\n2\r\nx\r\n70\r\n0.9\r\n#\r\n"
                             "[MotorSound]\r\nm.wav\r\n1\r\nfast\r\n2\r\n3\r\n4\r\n5\r\n6\r\n#\r\n",
                             pictures, true);
    ASSERT_EQ(r.problems.items().size(), 2u);
    EXPECT_EQ(r.problems.items()[0].fieldName, "baseSpeed");
    EXPECT_EQ(r.problems.items()[1].fieldName, "speedFrom");
    EXPECT_EQ(r.train.notchRowCount, 1);
    EXPECT_DOUBLE_EQ(r.train.notchTable[1].startAccel, 2.5);
    EXPECT_DOUBLE_EQ(r.train.notchTable[1].baseAccel, 2.0);
    EXPECT_EQ(r.train.motorSoundCount(), 0);
}

TEST(StringSections, EveryKeyRoundTripsInShiftJis) {
    TempDir dir;
    std::string text;
    int n = 0;
    for (const StringSection& s : stringSections()) {
        text += s.marker + "\r\n";
        for (size_t i = 0; i < s.lines.size(); ++i) text += "文字" + std::to_string(n++) + "\r\n";
    }
    const std::string path = dir.write("string.txt", utf8ToCp932(text).value());
    RecordingMessageBoxes boxes;
    const StringTable t = readStringTable(path, boxes);
    n = 0;
    for (const StringSection& s : stringSections())
        for (size_t i = 0; i < s.lines.size(); ++i)
            EXPECT_EQ(s.get(t, i), "文字" + std::to_string(n++)) << s.marker << " " << s.lines[i].name;
    EXPECT_EQ(n, kHandleLabelCount + 5);
}

TEST(StringSections, TheControllerMapKeepsItsSlotsAndStopsQuietly) {
    TempDir dir;
    std::string text;
    for (int i = 0; i < controllerMapDesc().capacity + 3; ++i) text += "CODE" + std::to_string(i) + "\r\n";
    RecordingMessageBoxes boxes;
    const auto codes = readControllerMap(dir.write("mascon.txt", text), boxes);
    ASSERT_EQ(int(codes.size()), controllerMapDesc().capacity);
    EXPECT_EQ(codes.back(), "CODE" + std::to_string(controllerMapDesc().capacity - 1));
    EXPECT_TRUE(boxes.all().empty());
    // The slots described cover every slot once.
    int next = 0;
    for (const ControllerSlots& s : controllerMapDesc().slots) {
        EXPECT_EQ(s.first, next);
        next = s.last + 1;
    }
    EXPECT_EQ(next, controllerMapDesc().capacity);
}

// Each numbered word of a controller's line is read at the ends of its
// range and refused (the line skipped and named) just beyond them.
TEST(PadFileEntries, TheReaderTakesItsBoundsFromTheDescription) {
    int checked = 0;
    for (const PadEntryDesc& e : padFileEntries()) {
        for (const ColumnFacts& w : e.words) {
            if (!w.range) continue;
            auto line = [&](int64_t v) {
                const std::string n = std::to_string(v);
                if (e.keyword == "hat") return "hat " + n + " up horn";
                if (e.keyword == "button") return "button " + n + " horn";
                if (w.name == "N") return "axis " + n + " power";
                // The other end away from this one: an axis whose ends meet is refused too.
                const std::string other =
                    w.name == "min" ? (v > 0 ? " max -100" : " max 100") : (v < 0 ? " min 100" : " min -100");
                return "axis 1 power " + w.name + " " + n + other;
            };
            for (int64_t v : {w.range->first, w.range->second, w.range->first - 1, w.range->second + 1}) {
                const bool inside = v >= w.range->first && v <= w.range->second;
                std::vector<std::string> problems;
                const auto m = readPadMappings("[00ff]\n" + line(v) + "\n", &problems);
                ASSERT_EQ(m.size(), 1u);
                EXPECT_EQ(problems.empty(), inside) << line(v);
                EXPECT_EQ(m[0].axes.size() + m[0].buttons.size(), inside ? 1u : 0u) << line(v);
            }
            ++checked;
        }
    }
    // The axis, its three values, the button and the hat.
    EXPECT_EQ(checked, 6);
}

// The tables of docs/data-formats.md are the descriptions': a section or
// column changed in one and not the other fails here, with the text to paste.
TEST(TrainSections, TheFormatDocumentMatchesTheDescriptions) {
    const std::string doc = readFileBytes(std::string(TRAINSIM_DOCS) + "/data-formats.md").value();
    EXPECT_EQ(between(doc, "train sections"), trainSectionsMarkdown(false)) << "paste between the markers:\n"
                                                                            << trainSectionsMarkdown(false);
    EXPECT_EQ(between(doc, "panel sections"), trainSectionsMarkdown(true)) << "paste between the markers:\n"
                                                                           << trainSectionsMarkdown(true);
    EXPECT_EQ(between(doc, "string sections"), stringSectionsMarkdown()) << "paste between the markers:\n"
                                                                         << stringSectionsMarkdown();
    EXPECT_EQ(between(doc, "controller slots"), controllerMapMarkdown()) << "paste between the markers:\n"
                                                                         << controllerMapMarkdown();
}
