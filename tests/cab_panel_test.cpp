// The cab read-outs of the 100 ms step: needles, the speed read-out, lamps,
// the gear indicator and the stop-distance marker.
#include <gtest/gtest.h>

#include "events/cab_panel.h"

using namespace ts;

namespace {

PanelItem item(const char* name, PanelItem::Kind kind = PanelItem::Kind::Picture) {
    PanelItem i;
    i.name = name;
    i.kind = kind;
    return i;
}

}  // namespace

TEST(CabPanel, NeedleAnglesAndRanges) {
    ts::Run r;
    PanelModel p;
    PanelItem speed = item("Needle_Speed", PanelItem::Kind::Needle);
    speed.picture = 0;
    PanelItem bc = item("Needle_BC", PanelItem::Kind::Needle);  // no picture: skipped
    p.items = {speed, bc};
    r.needlePresent[kNeedleSpeed] = true;
    r.needles[kNeedleSpeed].zeroAngle = 45;
    r.needles[kNeedleSpeed].anglePerUnit = 2.0L;
    r.needlePresent[kNeedleBC] = true;
    r.needles[kNeedleBC].anglePerUnit = 1;
    needles(r, r, r, r, p);
    EXPECT_EQ(p.findItem("Needle_Speed")->angle, 45);
    r.speed = -1000000;  // 100 km/h backward
    needles(r, r, r, r, p);
    EXPECT_EQ(p.findItem("Needle_Speed")->angle, 245);
    r.speed = 1600000;
    needles(r, r, r, r, p);
    EXPECT_EQ(p.findItem("Needle_Speed")->angle, 245) << "at 160 km/h the needle stays";
    r.bcGaugePressure = 2000000;
    needles(r, r, r, r, p);
    EXPECT_EQ(p.findItem("Needle_BC")->angle, 0);
}

TEST(CabPanel, ErAndBpNeedlesShowTheSamePressure) {
    ts::Run r;
    PanelModel p;
    for (const char* n : {"Needle_ER", "Needle_BP"}) {
        PanelItem i = item(n, PanelItem::Kind::Needle);
        i.picture = 0;
        p.items.push_back(i);
    }
    r.needlePresent[kNeedleER] = r.needlePresent[kNeedleBP] = true;
    r.needles[kNeedleER] = {"", 0, 0, 0, 0, -120, 0.5L};
    r.needles[kNeedleBP] = {"", 0, 0, 0, 0, -120, 0.5L};
    r.erPressure = 4900000;
    needles(r, r, r, r, p);
    EXPECT_EQ(p.findItem("Needle_ER")->angle, 125);  // -120 + 490 x 0.5
    EXPECT_EQ(p.findItem("Needle_BP")->angle, 125);
}

TEST(CabPanel, DigitalSpeedCarriesItsSign) {
    ts::Run r;
    PanelModel p;
    r.speed = -123456;
    digitalSpeed(r, p);
    EXPECT_EQ(p.labels["digi_speed"], "-12km/h");
    r.speed = 45000;
    digitalSpeed(r, p);
    EXPECT_EQ(p.labels["digi_speed"], "4km/h") << "4.5 rounds to even";
}

TEST(CabPanel, StopDistanceMarker) {
    ts::Run r;
    PanelModel p;
    p.items = {item("stopline")};
    r.stopDistance = 20000;
    stopDistanceMarker(r, p);
    EXPECT_EQ(p.findItem("stopline")->top, 0);
    r.stopDistance = 10000;  // 100 m
    stopDistanceMarker(r, p);
    EXPECT_EQ(p.findItem("stopline")->top, 120);
    r.stopDistance = 0;  // at the mark
    stopDistanceMarker(r, p);
    EXPECT_EQ(p.findItem("stopline")->top, 240);
    r.stopDistance = -10000;
    stopDistanceMarker(r, p);
    EXPECT_EQ(p.findItem("stopline")->top, 240) << "exactly -10000 leaves it where it was";
    r.stopDistance = -10001;
    stopDistanceMarker(r, p);
    EXPECT_EQ(p.findItem("stopline")->top, 360);
}

TEST(CabPanel, GearIndicatorDrawsNeutralOnce) {
    ts::Run r;
    PanelModel p;
    p.items = {item("Lamp_Gear", PanelItem::Kind::Slot)};
    r.GearImageList.pictures = {0, 1, 2};
    r.effectivePowerNotch = 1;
    r.currentGear = 1;
    gearIndicator(r, r, r, r, p);
    EXPECT_EQ(p.findItem("Lamp_Gear")->drawn, 2);
    EXPECT_EQ(r.shownGear, 1);
    r.effectivePowerNotch = 0;
    gearIndicator(r, r, r, r, p);
    EXPECT_EQ(p.findItem("Lamp_Gear")->drawn, 0);
    EXPECT_EQ(r.shownGear, -1);
    p.findItem("Lamp_Gear")->drawn = std::nullopt;
    gearIndicator(r, r, r, r, p);
    EXPECT_EQ(p.findItem("Lamp_Gear")->drawn, std::nullopt) << "not redrawn in later steps";
}

TEST(CabPanel, LampsFollowDoorsNotchesAndElectricBrake) {
    ts::Run r;
    PanelModel p;
    for (const char* n : {"Lamp_Power", "Lamp_Gen", "Lamp_Ele", "Lamp_Air"}) p.items.push_back(item(n));
    r.brakeNotchCount = 8;
    r.loseElec = 5;
    r.doorsOpen = 1;
    r.effectivePowerNotch = 2;
    panelLamps(r, r, r, r, p);
    EXPECT_FALSE(p.findItem("Lamp_Power")->visible);
    r.doorsOpen = 0;
    panelLamps(r, r, r, r, p);
    EXPECT_TRUE(p.findItem("Lamp_Power")->visible);
    EXPECT_TRUE(p.findItem("Lamp_Ele")->visible);
    r.effectivePowerNotch = 0;
    r.effectiveBrakeNotch = -3;
    r.brakeNotch = -3;
    r.speed = 300000;
    panelLamps(r, r, r, r, p);
    EXPECT_TRUE(p.findItem("Lamp_Gen")->visible);
    EXPECT_TRUE(p.findItem("Lamp_Ele")->visible);
    EXPECT_TRUE(p.findItem("Lamp_Air")->visible);
    r.speed = 40000;  // below loseElec: the electric brake fades
    panelLamps(r, r, r, r, p);
    EXPECT_FALSE(p.findItem("Lamp_Gen")->visible);
    EXPECT_FALSE(p.findItem("Lamp_Ele")->visible);
    r.effectiveBrakeNotch = -8;
    panelLamps(r, r, r, r, p);
    EXPECT_FALSE(p.findItem("Lamp_Air")->visible) << "not at the emergency position";
}

TEST(CabPanel, ValueDisplayTexts) {
    ts::Run r;
    PanelModel p;
    r.speed = 523456;
    r.bcPressure = 2204999;
    r.trainPosition = 1234;
    r.recordedSpeedKmh = 60;
    r.adhesionCoefficient = 3450;
    r.mt = 40000;
    r.trainTons = 1000000;
    r.stopDistance = 15049;
    p.wheel = "Normal";
    valueDisplay(r, r, r, r, p);
    EXPECT_EQ(p.valueDisplay["Label1"], "52.3 km/h");
    EXPECT_EQ(p.valueDisplay["Label2"], "220 kPa");
    EXPECT_EQ(p.valueDisplay["Label30"], "1234");
    EXPECT_EQ(p.valueDisplay["Label31"], "60 km/h");
    EXPECT_EQ(p.valueDisplay["Label8"], "0.34") << "0.345 with two decimals";
    EXPECT_EQ(p.valueDisplay["Label9"], "13524 N");
    EXPECT_EQ(p.valueDisplay["Label20"], "-338100 N");
    EXPECT_EQ(p.valueDisplay["ProgressBar2"], "13524");
    EXPECT_EQ(p.valueDisplay["Label33"], "150 m");
    EXPECT_EQ(p.valueDisplay["Label23"], "Normal");
}
