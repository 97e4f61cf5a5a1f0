// The live check of the route editor: a new route for a video passes the
// checker, unsaved edits are what is checked, and a diagnostic leads back to
// its table row.
#include <gtest/gtest.h>

#include "check/data_check.h"
#include "edit/route_document.h"
#include "test_support.h"

using namespace ts;
using namespace ts::edit;

namespace {

class AnyPicture final : public PictureLoader {
public:
    std::optional<int> load(const std::string&) override { return 0; }
    PictureSize size(int) const override { return {640, 240}; }
};

struct Checker {
    AnyPicture pictures;
    CheckDevices devices{pictures, {}, [](const std::string&) { return VideoFacts{true, 9000, 30, 30}; }};
    Diagnostics run(const RouteDocument& doc) {
        // The demo's other files: the train, the strings and the controller map.
        ts::test::ScopedCwd cwd(TRAINSIM_DEMO);
        return checkDocument(doc, "789", devices);
    }
};

std::string errors(const Diagnostics& d) {
    std::string s;
    for (const auto& x : d.items())
        if (x.severity == Severity::Error)
            s += x.file + ":" + std::to_string(x.line) + " " + x.message + " " + x.explanation + "\n";
    return s;
}

}  // namespace

TEST(RouteDocumentCheck, AFreshRouteForAVideoHasNoErrorsAndEndsWithTheVideo) {
    RouteDocument doc = RouteDocument::fresh("video/ride.mp4", 9000);
    Checker c;
    const Diagnostics d = c.run(doc);
    EXPECT_EQ(d.count(Severity::Error), 0) << errors(d);
    for (const auto& x : d.items()) EXPECT_NE(x.section, "[EndPos]") << x.explanation;
    EXPECT_EQ(doc.route().lineEnd(), 8999);
    EXPECT_EQ(doc.single(SingleValue::VideoFile), "video/ride.mp4");
    EXPECT_EQ(doc.rowCount(TableKind::Station), 1);
    EXPECT_LE(doc.route().stationTable[0].stopFrom, doc.route().startPosition);
    EXPECT_GE(doc.route().stationTable[0].stopTo, doc.route().startPosition);
    EXPECT_GT(doc.recordedSpeedAt(5000), 0) << "the train can move along the whole video";
}

TEST(RouteDocumentCheck, TheCheckSeesUnsavedEditsAndLeadsToTheirRow) {
    RouteDocument doc = RouteDocument::fresh("video/ride.mp4", 9000);
    Checker c;
    doc.addRow(TableKind::Signal, 3000);
    const int second = doc.addRow(TableKind::Signal, 5000);
    ASSERT_EQ(second, 1);
    // Out of order: the second signal's block now starts before the first's.
    ASSERT_TRUE(doc.setFrame(TableKind::Signal, 1, 3, 100));
    const Diagnostics d = c.run(doc);
    bool found = false;
    for (const auto& x : d.items()) {
        const auto at = rowOf(x);
        if (x.section == "[Signal]" && at && x.explanation.find("position order") != std::string::npos) {
            EXPECT_EQ(at->first, TableKind::Signal);
            EXPECT_EQ(at->second, 1);
            found = true;
        }
    }
    EXPECT_TRUE(found) << "the out-of-order signal is reported against its row";

    // The end beyond the video is reported against [EndPos].
    ASSERT_TRUE(doc.setSingle(SingleValue::EndPos, "12000", nullptr));
    bool beyond = false;
    const Diagnostics after = c.run(doc);
    for (const auto& x : after.items()) beyond |= x.section == "[EndPos]" && !rowOf(x);
    EXPECT_TRUE(beyond);
}
