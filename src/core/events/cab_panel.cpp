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

void setNeedle(const TrainData& t, PanelModel& p, PanelNeedle which, ComponentName name, long double angle) {
    PanelItem* item = p.item(name);
    if (!item || !item->picture || !t.needlePresent[size_t(which)]) return;
    item->angle = storeInt(angle);
}

// A fixed-point value on a needle: (degreesPerUnit x value + zeroAngle x 10000) / 10000.
void fixedNeedle(const TrainData& t, PanelModel& p, PanelNeedle which, ComponentName name, int64_t value) {
    const Meter& m = t.needles[size_t(which)];
    setNeedle(t, p, which, name, (m.anglePerUnit * value + m.zeroAngle * kFixedScale) / kFixedScale);
}

std::string fixed(long double v, int decimals) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*Lf", decimals, v);
    return buf;
}

}  // namespace

void needles(const TrainData& t, const Motion& m, const Traction& tr, const AirBrake& air, PanelModel& p) {
    const long double v = std::fabs(real(m.speed));
    if (v < 160) {
        const Meter& m = t.needles[kNeedleSpeed];
        setNeedle(t, p, kNeedleSpeed, cn::Needle_Speed, v * m.anglePerUnit + m.zeroAngle);
    }
    if (std::abs(tr.motorCurrent) < 1500) {
        const Meter& m = t.needles[kNeedleI];
        setNeedle(t, p, kNeedleI, cn::Needle_I, tr.motorCurrent * m.anglePerUnit + m.zeroAngle);
    }
    fixedNeedle(t, p, kNeedleV, cn::Needle_V, tr.lineVoltage);
    fixedNeedle(t, p, kNeedleBC, cn::Needle_BC, air.bcGaugePressure);
    fixedNeedle(t, p, kNeedleER, cn::Needle_ER, air.erPressure);
    fixedNeedle(t, p, kNeedleBP, cn::Needle_BP, air.erPressure);
    fixedNeedle(t, p, kNeedleMR, cn::Needle_MR, air.mrPressure);
    fixedNeedle(t, p, kNeedleSAP, cn::Needle_SAP, air.sapPressure);
}

void digitalSpeed(const Motion& m, PanelModel& p) {
    p.label(cn::digi_speed) = std::to_string(store(real(m.speed))) + "km/h";
}

void showOtherPictures(PanelModel& p) {
    for (PanelItem& i : p.items)
        if (i.name.empty() && i.kind == PanelItem::Kind::Picture && i.picture && !i.visible) i.visible = true;
}

void panelLamps(const TrainData& t, const Motion& m, const Handles& h, const StationState& st, PanelModel& p) {
    const int B = h.brakeNotchCount;
    const int64_t lose = int64_t(t.loseElec) * kFixedOne;
    p.setVisible(cn::Lamp_Power, !(st.doorsOpen == 1 || h.effectivePowerNotch < 1));
    bool gen = false;
    if (h.effectiveBrakeNotch < 0 || h.holdPosition == 1) gen = h.effectiveBrakeNotch > -B && m.speed > lose;
    p.setVisible(cn::Lamp_Gen, gen);
    bool ele;
    if (st.doorsOpen == 0 && h.effectivePowerNotch >= 1)
        ele = true;
    else if (h.effectiveBrakeNotch >= 0)
        ele = false;
    else
        ele = h.brakeNotch > -B && m.speed > lose;
    p.setVisible(cn::Lamp_Ele, ele);
    p.setVisible(cn::Lamp_Air, -B < h.effectiveBrakeNotch && h.effectiveBrakeNotch < 0);
}

void tunnelPanel(const RouteData& route, const Motion& m, PanelModel& p) {
    bool inside = false;
    for (const TunnelRow& t : route.tunnelTable)
        if (t.fromPosition < m.trainPosition && m.trainPosition < t.toPosition) inside = true;
    p.setVisible(cn::Panel2, inside);
}

void gearIndicator(const TrainData& t, const Traction& tr, const Handles& h, Presentation& pres, PanelModel& p) {
    PanelItem* gear = p.item(cn::Lamp_Gear);
    auto draw = [&](int index) {
        if (gear) gear->drawn = t.GearImageList.holds(index) ? std::optional<int>(index) : std::nullopt;
    };
    if (h.effectivePowerNotch >= 1 && (pres.shownGear != tr.currentGear || pres.shownGear == kNeutralGearImage)) {
        draw(tr.currentGear + 1);
        pres.shownGear = tr.currentGear;
    }
    if (pres.shownGear != kNeutralGearImage && (h.effectivePowerNotch == 0 || tr.gearShifting == 1)) {
        draw(0);
        pres.shownGear = kNeutralGearImage;
    }
}

void stopDistanceMarker(const Motion& m, PanelModel& p) {
    PanelItem* marker = p.item(cn::stopline);
    if (!marker) return;
    if (m.stopDistance >= 20000)
        marker->top = 0;
    else if (m.stopDistance > -10000)
        marker->top = 240 - storeInt(m.stopDistance / 100 * 1.2L);
    else if (m.stopDistance < -10000)
        marker->top = 360;
}

void valueDisplay(const TrainData& t, const Motion& m, const Adhesion& a, const AirBrake& air, PanelModel& p) {
    auto& v = p.valueDisplay;
    const long double tonsKg = real(t.trainTons) * 1000;
    const long double mu = real(a.adhesionCoefficient);
    v[vd::Label1] = fixed(real(m.speed), 1) + " km/h";
    v[vd::Label2] = fixed(real(air.bcPressure), 0) + " kPa";
    v[vd::Label3] = fixed(real(air.sapPressure), 0) + " kPa";
    v[vd::Label4] = fixed(real(air.erPressure), 0) + " kPa";
    v[vd::Label5] = fixed(real(air.mrPressure), 0) + " kPa";
    v[vd::Label30] = std::to_string(m.trainPosition);
    v[vd::Label31] = std::to_string(m.recordedSpeedKmh) + " km/h";
    const long double accel = tonsKg != 0 ? (real(m.appliedForce) + real(m.resistanceForce)) / tonsKg * 3.6L : 0;
    v[vd::Label6] = fixed(accel, 1) + " km/h/s";
    v[vd::Label7] = fixed(real(m.appliedForce), 0) + " N";
    v[vd::Label25] = fixed(real(m.resistanceForce), 0) + " N";
    v[vd::Label27] = fixed(real(a.trainGradient), 0) + " Permil";
    const long double p2 = real(a.trainGradient);
    const long double k = 1000 / std::sqrt(p2 * p2 + 1000 * 1000);
    v[vd::ProgressBar1] = std::to_string(store(real(m.appliedForce)));
    v[vd::ProgressBar2] = std::to_string(store(k * mu * real(t.mt) * 1000 * kGravity));
    v[vd::ProgressBar3] = std::to_string(store(k * mu * -1 * real(t.trainTons) * 1000 * kGravity));
    v[vd::Label8] = fixed(mu, 2);
    v[vd::Label9] = fixed(mu * real(t.mt) * 1000 * kGravity, 0) + " N";
    v[vd::Label20] = fixed(mu * -1 * real(t.trainTons) * 1000 * kGravity, 0) + " N";
    v[vd::Label33] = fixed(m.stopDistance / 100, 0) + " m";
    v[vd::Label23] = p.wheel;
}

}  // namespace ts
