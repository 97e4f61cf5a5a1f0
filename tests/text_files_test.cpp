// Rules shared by every data file: lines, encodings, fields, numbers, the
// sectioned-file reader and file-name lookup.
#include <gtest/gtest.h>

#include "data/fields.h"
#include "data/file_names.h"
#include "data/section_reader.h"
#include "data/text_file.h"
#include "test_support.h"

using namespace ts;

TEST(Lines, CrLfEndsALineAndBareCrStaysInside) {
    EXPECT_EQ(splitLines("a\r\nb\nc"), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(splitLines("a\rb\r\n\r\n"), (std::vector<std::string>{"a\rb", ""}));
    EXPECT_TRUE(splitLines("").empty());
}

TEST(Encoding, ShiftJisFileIsDecodedAndUtf8FileKept) {
    test::TempDir dir;
    // "駅" in CP932 is 0x89 0x77; "〜" (wave dash, CP932 0x8160) must map to the full-width tilde.
    auto sjis = readTextFile(dir.write("s.txt", "\x89\x77\r\n\x81\x60\r\n"));
    ASSERT_TRUE(sjis);
    EXPECT_FALSE(sjis->encoding.utf8);
    EXPECT_EQ(sjis->encoding.decode(sjis->lines[0]), "駅");
    EXPECT_EQ(sjis->encoding.decode(sjis->lines[1]), "～");
    auto utf8 = readTextFile(dir.write("u.txt", "駅\n"));
    ASSERT_TRUE(utf8);
    EXPECT_TRUE(utf8->encoding.utf8);
    EXPECT_EQ(utf8->encoding.decode(utf8->lines[0]), "駅");
    EXPECT_FALSE(readTextFile((dir.path() / "missing.txt").string()));
}

TEST(Encoding, Utf8ValidityRejectsOverlongAndSurrogates) {
    EXPECT_TRUE(isValidUtf8("abc é 駅 😀"));
    EXPECT_FALSE(isValidUtf8("\xC0\xAF"));
    EXPECT_FALSE(isValidUtf8("\xED\xA0\x80"));
    EXPECT_FALSE(isValidUtf8("\xE9\xA7"));
    EXPECT_EQ(cp932ToUtf8("A\xFF"
                          "B"),
              "A\xEF\xBF\xBD"
              "B");
}

TEST(CsvField, FieldsAndErrors) {
    EXPECT_EQ(csvField("a,b,c", 1), "a");
    EXPECT_EQ(csvField("a,b,c", 3), "c");
    EXPECT_EQ(csvField("a,b,c", 4), "Error");
    EXPECT_EQ(csvField("a,b,", 3), "");
    EXPECT_EQ(csvField("whole line", 1), "whole line");
    EXPECT_EQ(csvField("a,b", 0), "");
    EXPECT_EQ(csvField("a,b", -2), "");
    EXPECT_EQ(csvField(" a , b", 2), " b");
    EXPECT_EQ(parseInt(csvField(" 5,x", 1)), 5);
}

TEST(Numbers, IntegerAcceptance) {
    EXPECT_EQ(parseInt("  -42"), -42);
    EXPECT_EQ(parseInt("+7"), 7);
    EXPECT_EQ(parseInt("2147483647"), 2147483647);
    EXPECT_EQ(parseInt("-2147483648"), -2147483647 - 1);
    for (const char* bad : {"", " ", "5 ", "1.0", "Error", "2147483648", "-", "0x10", "1e3", "12a"})
        EXPECT_FALSE(parseInt(bad)) << bad;
}

TEST(Numbers, RealAcceptance) {
    EXPECT_DOUBLE_EQ(double(*parseReal("1.5")), 1.5);
    EXPECT_DOUBLE_EQ(double(*parseReal(" -2.5e2")), -250.0);
    EXPECT_DOUBLE_EQ(double(*parseReal(".5")), 0.5);
    for (const char* bad : {"", "1,5", "1.5 ", "e5", "1e", "abc", "inf", "nan"}) EXPECT_FALSE(parseReal(bad)) << bad;
}

TEST(Numbers, FixedPointIsExactAndRoundsHalfToEven) {
    EXPECT_EQ(parseFixed("1"), 10000);
    EXPECT_EQ(parseFixed("0.1"), 1000);
    EXPECT_EQ(parseFixed("-3.25"), -32500);
    EXPECT_EQ(parseFixed("1.23456"), 12346);
    EXPECT_EQ(parseFixed("1.00005"), 10000);  // tie, down to even
    EXPECT_EQ(parseFixed("1.00015"), 10002);  // tie, up to even
    EXPECT_EQ(parseFixed("1.000050001"), 10001);
    EXPECT_EQ(parseFixed("-0.00005"), 0);
    EXPECT_EQ(parseFixed("2.5e-3"), 25);
    EXPECT_EQ(parseFixed("1.2e3"), 12000000);
    EXPECT_EQ(parseFixed("490"), 4900000);
    EXPECT_FALSE(parseFixed("1e30"));
    EXPECT_FALSE(parseFixed("4 "));
    EXPECT_FALSE(parseFixed(""));
}

namespace {

struct Parsed {
    std::string name;
    std::vector<int> list;
    std::string label;
    bool error = false;
};

// A small file format for exercising the reader: one single value and one list.
Parsed parse(const std::string& text) {
    TextFile f;
    f.lines = splitLines(text);
    SectionCursor c(f);
    Parsed p;
    std::vector<SectionRule> rules{
        {"[Name]", "", [&](SectionCursor& s) { p.name = s.readText(); }},
        {"[Signal]", "[Signal]",
         [&](SectionCursor& s) {
             p.list.clear();
             readList(s, 3, [&](SectionCursor& e, int) { p.list.push_back(toInt(csvField(e.line(), 1))); });
         }},
    };
    try {
        readSections(c, rules, "other");
    } catch (const FormatError&) {
        p.error = true;
    }
    p.label = c.label;
    return p;
}

}  // namespace

TEST(Sections, MarkerMatchesOnlyAtLineStartWithExactCase) {
    EXPECT_EQ(parse("[Signal] trailing\n1\n2\n#\n").list, (std::vector<int>{1, 2}));
    EXPECT_TRUE(parse(" [Signal]\n1\n#\n").list.empty());
    EXPECT_TRUE(parse("[signal]\n1\n#\n").list.empty());
    EXPECT_TRUE(startsWithMarker("[Stop]x", "[Stop]"));
    EXPECT_FALSE(startsWithMarker("[Stop2]", "[Stop]"));
    EXPECT_FALSE(startsWithMarker("[SignImageList]", "[Sign]"));
}

TEST(Sections, ListsRestartAndEndAtHash) {
    EXPECT_TRUE(parse("[Signal]\n#\n").list.empty());
    EXPECT_EQ(parse("[Signal]\n1\n2\n#\n[Signal]\n7\n#\n").list, (std::vector<int>{7}));
    // The "#" line is consumed and tested against later markers in the same pass.
    auto p = parse("[Name]\nline\n[Signal]\n5\n#\n");
    EXPECT_EQ(p.name, "line");
    EXPECT_EQ(p.list, (std::vector<int>{5}));
}

TEST(Sections, ErrorsNameTheListAndPastEndIsAnError) {
    auto noHash = parse("[Signal]\n1\n2\n");
    EXPECT_TRUE(noHash.error);
    EXPECT_EQ(noHash.label, "[Signal]");
    auto blank = parse("[Signal]\n1\n\n#\n");
    EXPECT_TRUE(blank.error);
    auto tooMany = parse("[Signal]\n1\n2\n3\n4\n#\n");
    EXPECT_TRUE(tooMany.error) << "a fourth row must not be written past a three-row table";
    // A single value past the end of the file reads as an empty text.
    auto last = parse("[Name]");
    EXPECT_FALSE(last.error);
    EXPECT_EQ(last.name, "");
    EXPECT_EQ(last.label, "[Signal]");
}

TEST(FileNames, BackslashesAndCaseAreResolved) {
    test::TempDir dir;
    dir.write("Image/Panel/Back.BMP", "x");
    test::ScopedCwd cwd(dir.path());
    EXPECT_EQ(resolveDataPath("image\\panel\\back.bmp"), "Image/Panel/Back.BMP");
    EXPECT_EQ(resolveDataPath("Image/Panel/Back.BMP"), "Image/Panel/Back.BMP");
    EXPECT_EQ(resolveDataPath("image\\panel\\missing.bmp"), "image/panel/missing.bmp");
    EXPECT_EQ(resolveDataPath(""), "");
}

TEST(FileNames, FoldersDifferingOnlyInCaseAreAllSearched) {
    test::TempDir dir;
    dir.write("image/staff.bmp", "x");
    dir.write("Image/Signal/SIG0.BMP", "x");
    test::ScopedCwd cwd(dir.path());
    EXPECT_EQ(resolveDataPath("image\\signal\\sig0.bmp"), "Image/Signal/SIG0.BMP");
    EXPECT_EQ(resolveDataPath("IMAGE\\STAFF.BMP"), "image/staff.bmp");
}
