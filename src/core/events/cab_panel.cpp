#include "events/cab_panel.h"
#include "events/codes.h"
#include "panel_names.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "dynamics/adhesion.h"
#include "dynamics/fixed_point.h"

namespace ts {

namespace {

void setNeedle(const Run& r, PanelModel& p, PanelNeedle which, ComponentName name, long double angle) {
    PanelItem* item = p.item(name);
    if (!item || !item->picture || !r.needlePresent[size_t(which)]) return;
    item->angle = storeInt(angle);
}

// A fixed-point value on a needle: (degreesPerUnit x value + zeroAngle x 10000) / 10000.
void fixedNeedle(const Run& r, PanelModel& p, PanelNeedle which, ComponentName name, int64_t value) {
    const Meter& m = r.needles[size_t(which)];
    setNeedle(r, p, which, name, (m.anglePerUnit * value + m.zeroAngle * kFixedScale) / kFixedScale);
}

std::string fixed(long double v, int decimals) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*Lf", decimals, v);
    return buf;
}

}  // namespace

void needles(const Run& r, PanelModel& p) {
    const long double v = std::fabs(real(r.speed));
    if (v < 160) {
        const Meter& m = r.needles[kNeedleSpeed];
        setNeedle(r, p, kNeedleSpeed, cn::Needle_Speed, v * m.anglePerUnit + m.zeroAngle);
    }
    if (std::abs(r.motorCurrent) < 1500) {
        const Meter& m = r.needles[kNeedleI];
        setNeedle(r, p, kNeedleI, cn::Needle_I, r.motorCurrent * m.anglePerUnit + m.zeroAngle);
    }
    fixedNeedle(r, p, kNeedleV, cn::Needle_V, r.lineVoltage);
    fixedNeedle(r, p, kNeedleBC, cn::Needle_BC, r.bcGaugePressure);
    fixedNeedle(r, p, kNeedleER, cn::Needle_ER, r.erPressure);
    fixedNeedle(r, p, kNeedleBP, cn::Needle_BP, r.erPressure);
    fixedNeedle(r, p, kNeedleMR, cn::Needle_MR, r.mrPressure);
    fixedNeedle(r, p, kNeedleSAP, cn::Needle_SAP, r.sapPressure);
}

void digitalSpeed(const Motion& m, PanelModel& p) {
    p.label(cn::digi_speed) = std::to_string(store(real(m.speed))) + "km/h";
}

void showOtherPictures(PanelModel& p) {
    for (PanelItem& i : p.items)
        if (i.name.empty() && i.kind == PanelItem::Kind::Picture && i.picture && !i.visible) i.visible = true;
}

void panelLamps(const Run& r, PanelModel& p) {
    const int B = r.brakeNotchCount;
    const int64_t lose = int64_t(r.loseElec) * 10000;
    p.setVisible(cn::Lamp_Power, !(r.doorsOpen == 1 || r.effectivePowerNotch < 1));
    bool gen = false;
    if (r.effectiveBrakeNotch < 0 || r.holdPosition == 1) gen = r.effectiveBrakeNotch > -B && r.speed > lose;
    p.setVisible(cn::Lamp_Gen, gen);
    bool ele;
    if (r.doorsOpen == 0 && r.effectivePowerNotch >= 1) ele = true;
    else if (r.effectiveBrakeNotch >= 0) ele = false;
    else ele = r.brakeNotch > -B && r.speed > lose;
    p.setVisible(cn::Lamp_Ele, ele);
    p.setVisible(cn::Lamp_Air, -B < r.effectiveBrakeNotch && r.effectiveBrakeNotch < 0);
}

void tunnelPanel(const Run& r, PanelModel& p) {
    bool inside = false;
    for (const TunnelRow& t : r.tunnelTable)
        if (t.fromPosition < r.trainPosition && r.trainPosition < t.toPosition) inside = true;
    p.setVisible(cn::Panel2, inside);
}

void gearIndicator(Run& r, PanelModel& p) {
    PanelItem* gear = p.item(cn::Lamp_Gear);
    auto draw = [&](int index) {
        if (gear) gear->drawn = r.GearImageList.holds(index) ? std::optional<int>(index) : std::nullopt;
    };
    if (r.effectivePowerNotch >= 1 && (r.shownGear != r.currentGear || r.shownGear == kNeutralGearImage)) {
        draw(r.currentGear + 1);
        r.shownGear = r.currentGear;
    }
    if (r.shownGear != kNeutralGearImage && (r.effectivePowerNotch == 0 || r.gearShifting == 1)) {
        draw(0);
        r.shownGear = kNeutralGearImage;
    }
}

void stopDistanceMarker(const Motion& m, PanelModel& p) {
    PanelItem* marker = p.item(cn::stopline);
    if (!marker) return;
    if (m.stopDistance >= 20000) marker->top = 0;
    else if (m.stopDistance > -10000) marker->top = 240 - storeInt(m.stopDistance / 100 * 1.2L);
    else if (m.stopDistance < -10000) marker->top = 360;
}

void valueDisplay(const Run& r, PanelModel& p) {
    auto& v = p.valueDisplay;
    const long double tonsKg = real(r.trainTons) * 1000;
    const long double mu = real(r.adhesionCoefficient);
    v[vd::Label1] = fixed(real(r.speed), 1) + " km/h";
    v[vd::Label2] = fixed(real(r.bcPressure), 0) + " kPa";
    v[vd::Label3] = fixed(real(r.sapPressure), 0) + " kPa";
    v[vd::Label4] = fixed(real(r.erPressure), 0) + " kPa";
    v[vd::Label5] = fixed(real(r.mrPressure), 0) + " kPa";
    v[vd::Label30] = std::to_string(r.trainPosition);
    v[vd::Label31] = std::to_string(r.recordedSpeedKmh) + " km/h";
    const long double accel = tonsKg != 0 ? (real(r.appliedForce) + real(r.resistanceForce)) / tonsKg * 3.6L : 0;
    v[vd::Label6] = fixed(accel, 1) + " km/h/s";
    v[vd::Label7] = fixed(real(r.appliedForce), 0) + " N";
    v[vd::Label25] = fixed(real(r.resistanceForce), 0) + " N";
    v[vd::Label27] = fixed(real(r.trainGradient), 0) + " Permil";
    const long double p2 = real(r.trainGradient);
    const long double k = 1000 / std::sqrt(p2 * p2 + 1000 * 1000);
    v[vd::ProgressBar1] = std::to_string(store(real(r.appliedForce)));
    v[vd::ProgressBar2] = std::to_string(store(k * mu * real(r.mt) * 1000 * 9.8L));
    v[vd::ProgressBar3] = std::to_string(store(k * mu * -1 * real(r.trainTons) * 1000 * 9.8L));
    v[vd::Label8] = fixed(mu, 2);
    v[vd::Label9] = fixed(mu * real(r.mt) * 1000 * 9.8L, 0) + " N";
    v[vd::Label20] = fixed(mu * -1 * real(r.trainTons) * 1000 * 9.8L, 0) + " N";
    v[vd::Label33] = fixed(r.stopDistance / 100, 0) + " m";
    v[vd::Label23] = p.wheel;
}

}  // namespace ts
