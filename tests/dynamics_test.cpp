// The dynamics formulas against numbers worked out by hand. Forces are N x
// 10000, speeds km/h x 10000, pressures kPa x 10000, masses t x 10000.
#include <gtest/gtest.h>

#include "dynamics/adhesion.h"
#include "dynamics/air_brake.h"
#include "dynamics/fixed_point.h"
#include "dynamics/motion.h"
#include "dynamics/traction.h"

using namespace ts;

namespace {

// A 100 t electric train, notch 1: 3.0 km/h/s falling to 2.5 at 30 km/h,
// constant power to 60 km/h, then x 0.98 per km/h.
ts::Run electric() {
    ts::Run r;
    r.engineType = ts::EngineType::Electric;
    r.trainTons = 1000000;
    r.powerNotchCount = 1;
    r.notchRowCount = 1;
    r.notchTable[1] = {3.0, 2.5, 30, 60, 0.98};
    r.effectivePowerNotch = 1;
    return r;
}

int64_t tractionAt(ts::Run r, double kmh) {
    r.speed = int64_t(kmh * 10000);
    r.appliedForce = 0;
    electricTraction(r, r, r);
    return r.appliedForce;
}

}  // namespace

TEST(ElectricTraction, NotchCurve) {
    const ts::Run r = electric();
    // F = a / 3.6 x m, m = 100 t: 1 km/h/s gives 27 777.78 N.
    EXPECT_EQ(tractionAt(r, 0), 833333333);   // 3.0 km/h/s
    EXPECT_EQ(tractionAt(r, 10), 787037037);  // 10 x (2.5 - 3.0) / 30 + 3.0 = 2.8333
    EXPECT_EQ(tractionAt(r, 30), 694444444);  // at baseSpeed: 30 x 2.5 / 30 = 2.5
    EXPECT_EQ(tractionAt(r, 45), 462962963);  // 30 x 2.5 / 45 = 1.6667
    EXPECT_EQ(tractionAt(r, 60), 347222222);  // at fadeSpeed: 75 / 60 = 1.25, as constant power
    EXPECT_EQ(tractionAt(r, 70), 243176431);  // 75 x 0.98^10 / 70 = 0.875435
    EXPECT_EQ(tractionAt(r, -45), 462962963) << "traction uses |speed|";
}

TEST(ElectricTraction, RowsThatWouldDivideByZeroGiveNoTraction) {
    ts::Run r = electric();
    r.notchTable[1] = {3.0, 2.5, 0, 60, 0.98};
    EXPECT_EQ(tractionAt(r, 0), 0);
    r.notchTable[1] = {3.0, 2.5, 30, 60, 0};
    EXPECT_EQ(tractionAt(r, 70), 0);
    r.notchTable[1] = {3.0, 2.5, 30, 60, 0.98};
    r.effectivePowerNotch = 2;  // beyond the table
    EXPECT_EQ(tractionAt(r, 10), 0);
}

namespace {

// A 36 t railcar with two gears, four notches, engine at 100 %.
ts::Run diesel(double kmh, int gear) {
    ts::Run r;
    r.engineType = ts::EngineType::Diesel;
    r.trainTons = 360000;
    r.powerNotchCount = 4;
    r.effectivePowerNotch = 4;
    r.enginePitch = 100;
    r.engineTable = {{0, 20, 40, 1.8, 1.5, 0.9}, {30, 55, 80, 1.0, 0.8, 0.4}};
    r.currentGear = gear;
    r.speed = int64_t(kmh * 10000);
    return r;
}

int64_t dieselTick(ts::Run& r) {
    r.appliedForce = 0;
    dieselTraction(r, r, r, r);
    return r.appliedForce;
}

}  // namespace

TEST(DieselTraction, GearChangeTakes100TicksWithoutTraction) {
    ts::Run r = diesel(41, 0);
    // Above the first gear's 40 km/h: the shift starts, this tick still pulls:
    // a = |41 - 20| x (0.9 - 1.5) / 20 + 1.5 = 0.87 km/h/s; F = 0.87 / 3.6 x 36 t = 8700 N.
    EXPECT_EQ(dieselTick(r), 87000000);
    EXPECT_EQ(r.gearShifting, 1);
    EXPECT_EQ(r.gearShiftTicks, 1);
    for (int tick = 2; tick <= 100; ++tick) {
        EXPECT_EQ(dieselTick(r), 0) << "tick " << tick;
        EXPECT_EQ(r.currentGear, tick < 100 ? 0 : 1);
    }
    EXPECT_EQ(r.gearShifting, 0);
    // Second gear at 41 km/h: |41 - 30| x (0.8 - 1.0) / 25 + 1.0 = 0.912 km/h/s.
    EXPECT_EQ(dieselTick(r), 91200000);
}

TEST(DieselTraction, DownShiftAtOnceAndNeverLeaveTheTable) {
    ts::Run r = diesel(24, 1);
    dieselTick(r);
    EXPECT_EQ(r.currentGear, 0) << "|24 + 5| < 30: down at once";
    ts::Run low = diesel(0, 0);
    dieselTick(low);
    EXPECT_EQ(low.currentGear, 0);
    ts::Run top = diesel(95, 1);
    dieselTick(top);
    EXPECT_EQ(top.gearShifting, 0) << "no gear above the last";
    // Engine pitch scales the force: at 50 % half of 1.8 km/h/s at standstill.
    ts::Run idle = diesel(0, 0);
    idle.enginePitch = 50;
    EXPECT_EQ(dieselTick(idle), 90000000);
}

TEST(HandleDelays, PowerAndBrake) {
    ts::Run r;
    r.powerDelay = 3;
    r.powerNotch = 2;
    r.powerHandleMoved = 1;
    powerDelay(r, r, r);
    powerDelay(r, r, r);
    EXPECT_EQ(r.effectivePowerNotch, 0);
    r.powerNotch = 3;  // moved again during the delay: the count goes on
    powerDelay(r, r, r);
    EXPECT_EQ(r.effectivePowerNotch, 3);
    EXPECT_EQ(r.powerHandleMoved, 0);
    r.brakeDelay = 1;
    r.brakeNotch = -5;
    r.brakeHandleMoved = 1;
    brakeDelay(r, r, r);
    EXPECT_EQ(r.effectiveBrakeNotch, -5) << "a delay of 1 takes effect on the first tick";
}

TEST(BrakeForce, ProportionalToCylinderPressureAndAgainstMotion) {
    ts::Run r;
    r.trainTons = 1000000;  // 100 t
    r.brakeRate = 40000;    // 4.0 km/h/s at 440 kPa
    r.ebPressure = 440;
    r.bcPressure = 4400000;
    r.speed = 500000;
    brakeForce(r, r, r);
    EXPECT_EQ(r.appliedForce, -1111111111);  // 4.0 / 3.6 x 100 t = 111 111.11 N
    r.appliedForce = 0;
    r.bcPressure = 2200000;
    brakeForce(r, r, r);
    EXPECT_EQ(r.appliedForce, -555555556);
    r.appliedForce = 0;
    r.speed = -10000;
    brakeForce(r, r, r);
    EXPECT_EQ(r.appliedForce, 555555556);
    r.appliedForce = 0;
    r.speed = 0;
    brakeForce(r, r, r);
    EXPECT_EQ(r.appliedForce, 0);
}

TEST(Reverser, NeutralRemovesTractionAndBackNegatesIt) {
    ts::Run r;
    r.appliedForce = 1000;
    r.reverser = -1;
    applyReverser(r, r);
    EXPECT_EQ(r.appliedForce, -1000);
    r.reverser = 0;
    applyReverser(r, r);
    EXPECT_EQ(r.appliedForce, 0);
}

namespace {
ts::Run airBrake(int type, int n) {
    ts::Run r;
    r.brakeType = ts::BrakeType(type);
    r.brakeNotchCount = n;
    r.brakeUp = 200;
    r.brakeDown = 300;
    r.ebPressure = 440;
    r.mrPressure = 8800000;
    return r;
}
}  // namespace

TEST(AirBrake, Type1ServiceApplicationRates) {
    ts::Run r = airBrake(1, 8);
    r.effectiveBrakeNotch = -7;  // T = 440 / 7 x 7 = 440 kPa
    brakePressures(r, r, r, r);
    EXPECT_EQ(r.bcPressure, 44444);    // 200 / 30 / 1.5 = 4.4444 kPa
    EXPECT_EQ(r.sapPressure, 55556);   // 200 / 30 / 1.2 = 5.5556 kPa
    EXPECT_EQ(r.mrPressure, 8793333);  // 880 - 200 / 300
    EXPECT_EQ(r.erPressure, 20000);    // recharging at 300 / 150 = 2 kPa
    for (int i = 0; i < 200; ++i) brakePressures(r, r, r, r);
    EXPECT_GE(r.bcPressure, 4300000);
    EXPECT_LE(r.bcPressure, 4400000) << "settles between T - 10 and T";
}

TEST(AirBrake, Type1BandedReleaseCrossesTheBands) {
    ts::Run r = airBrake(1, 8);
    r.effectiveBrakeNotch = 0;
    r.erPressure = 4000000;  // above H = 440 - 55 = 385 kPa
    r.bcPressure = 2000000;  // exactly 200: the middle band
    brakePressures(r, r, r, r);
    EXPECT_EQ(r.bcPressure, 1950000);  // 300 / 60 = 5 kPa
    r.bcPressure = 1000000;            // exactly 100: the lowest band
    brakePressures(r, r, r, r);
    EXPECT_EQ(r.bcPressure, 975000);  // 300 / 120 = 2.5 kPa
    for (int i = 0; i < 50; ++i) brakePressures(r, r, r, r);
    EXPECT_EQ(r.bcPressure, 0);
    ts::Run low = airBrake(1, 8);
    low.erPressure = 3000000;  // below H: no release until the pipe recharges
    low.bcPressure = 1000000;
    brakePressures(low, low, low, low);
    EXPECT_EQ(low.bcPressure, 1000000);
}

TEST(AirBrake, Type0ReleaseAfterEmergencyWaitsForThePipe) {
    ts::Run r = airBrake(0, 4);
    r.ebPressure = 390;
    r.bcPressure = 3900000;
    r.effectiveBrakeNotch = 0;
    for (int i = 0; i < 98; ++i) brakePressures(r, r, r, r);
    EXPECT_EQ(r.bcPressure, 3900000);
    EXPECT_EQ(r.erPressure, 3920000) << "recharging at 300 / 30 / 2.5 = 4 kPa a tick";
    brakePressures(r, r, r, r);
    EXPECT_EQ(r.bcPressure, 3800000) << "falls at 300 / 30 = 10 kPa once the pipe is above it";
    EXPECT_EQ(r.sapPressure, 0);
}

TEST(AirBrake, Type0ServiceFollowsTwoAndAHalfTimesThePipeReduction) {
    ts::Run r = airBrake(0, 4);
    r.erPressure = 4900000;
    r.effectiveBrakeNotch = -3;
    brakePressures(r, r, r, r);
    EXPECT_EQ(r.bcPressure, 0) << "no reduction yet";
    EXPECT_EQ(r.erPressure, 4873333);  // 490 - 200 / 75
    brakePressures(r, r, r, r);
    EXPECT_EQ(r.bcPressure, 66667);    // 200 / 30
    EXPECT_EQ(r.erPressure, 4846666);  // 4873333 - 26666.67, rounded
    EXPECT_EQ(r.sapPressure, 0) << "type 0 never raises the straight air pipe";
}

TEST(AirBrake, GaugeWithElectricBrake) {
    ts::Run r = airBrake(1, 8);
    r.mc = 1;
    r.loseElec = 20;
    r.bcPressure = 1000000;
    r.speed = 600000;
    brakeCylinderGauge(r, r, r);
    EXPECT_EQ(r.bcGaugePressure, 500000) << "the electric brake carries the load: 50 kPa";
    r.speed = 100000;
    brakeCylinderGauge(r, r, r);
    EXPECT_EQ(r.bcGaugePressure, 544444) << "below loseElec it climbs at 200 / 30 / 1.5 kPa a tick";
    r.mc = 0;
    brakeCylinderGauge(r, r, r);
    EXPECT_EQ(r.bcGaugePressure, 1000000);
}

TEST(Adhesion, CoefficientAndGradient) {
    ts::Run r;
    r.baseAdhesion = 3450;
    updateAdhesion(r, r);
    EXPECT_EQ(r.adhesionCoefficient, 3450);
    r.speed = 1000000;
    updateAdhesion(r, r);
    EXPECT_EQ(r.adhesionCoefficient, 1882);  // 6 / 11 x 0.345
    r.trainTons = 1000000;
    r.trainGradient = 10000000;  // 1000 per mille: 45 degrees
    EXPECT_NEAR(double(gradientCosine(r)), 0.7071067811865476, 1e-15);
    gradientForce(r, r, r);
    EXPECT_EQ(r.resistanceForce, -6929646456);  // 9.8 x 100 t x sin 45
    r.trainGradient = 0;
    r.resistanceForce = 0;
    gradientForce(r, r, r);
    EXPECT_EQ(r.resistanceForce, 0);
}

TEST(Adhesion, SlipAndSlideReplaceTheForce) {
    ts::Run r;
    r.adhesionCoefficient = 3450;
    r.mt = 40000;           // 4 t on driven axles: limit 0.345 x 4 t x 9.8 = 13 524 N
    r.trainTons = 1000000;  // 100 t: limit 338 100 N
    r.powerNotch = 1;
    r.appliedForce = 140000000;
    EXPECT_STREQ(slipAndSlide(r, r, r, r), "Racing");
    EXPECT_EQ(r.appliedForce, 67620000);  // half the limit, 6762 N
    r.powerNotch = 0;
    r.appliedForce = 140000000;
    EXPECT_STREQ(slipAndSlide(r, r, r, r), "Normal");
    r.brakeNotch = -1;
    r.appliedForce = -4000000000;
    EXPECT_STREQ(slipAndSlide(r, r, r, r), "Sliding");
    EXPECT_EQ(r.appliedForce, -3381000000);
    r.brakeNotch = 0;
    r.appliedForce = -4000000000;
    EXPECT_STREQ(slipAndSlide(r, r, r, r), "Normal");
}

TEST(Resistance, StartingAndRunning) {
    ts::Run r;
    r.trainTons = 1000000;
    r.carCount = 6;
    r.speed = 1;  // 0.0001 km/h
    startingResistance(r, r);
    EXPECT_EQ(r.resistanceForce, -78399020);  // 9.8 x (8 - 0.0001) x 100 t
    r.resistanceForce = 0;
    r.speed = -1;
    startingResistance(r, r);
    EXPECT_EQ(r.resistanceForce, 78399020);
    r.resistanceForce = 0;
    r.speed = 80000;
    startingResistance(r, r);
    EXPECT_EQ(r.resistanceForce, 0);
    r.speed = 1000;  // 0.1 km/h
    runningResistance(r, r);
    EXPECT_EQ(r.resistanceForce, 0);
    r.speed = 500000;  // 50 km/h: 9.8 x ((1.32 + 0.82) x 100 + (0.028 + 0.039) x 2500) = 3738.7 N
    runningResistance(r, r);
    EXPECT_EQ(r.resistanceForce, -37387000);
}

TEST(GradientSampling, EveryTwentyMetres) {
    ts::Run r;
    r.carCount = 1;
    r.pointGradient = 25000;
    r.stopDistance = -1049;  // -10.49 m: no sample
    sampleTrainGradient(r, r, r, r);
    EXPECT_EQ(r.trainGradient, 0);
    r.stopDistance = -2000;
    sampleTrainGradient(r, r, r, r);
    EXPECT_EQ(r.trainGradient, 20000) << "one car: the last sample, 2.5 rounded to 2 (ties to even)";
    r.carCount = 2;
    r.pointGradient = 40000;
    r.stopDistance = -4000;
    sampleTrainGradient(r, r, r, r);
    EXPECT_EQ(r.trainGradient, 30000) << "(4 + 2) / 2";
    r.pointGradient = 0;
    sampleTrainGradient(r, r, r, r);
    EXPECT_EQ(r.trainGradient, 30000) << "the same mark samples once";
}

TEST(Motion, FrameAdvance) {
    ts::Run r;
    r.recordedSpeedKmh = 60;
    r.speed = 600000;
    for (int i = 0; i < 5; ++i) advanceFrames(r);
    EXPECT_EQ(r.trainPosition, 5) << "at the recorded speed one frame a tick";
    r.speed = 4000;  // 0.4 km/h rounds to 0
    for (int i = 0; i < 100; ++i) advanceFrames(r);
    EXPECT_EQ(r.trainPosition, 5);
    EXPECT_EQ(r.frameAccumulator, 0);
    r.speed = -300000;
    advanceFrames(r);
    advanceFrames(r);
    EXPECT_EQ(r.trainPosition, 4) << "backward at half the recorded speed: a frame every two ticks";
    r.recordedSpeedKmh = 0;
    r.speed = 0;
    advanceFrames(r);
    EXPECT_EQ(r.recordedSpeedKmh, 1) << "raised to 1 before dividing";
}

TEST(Motion, RecordedSpeedAndForceIntegration) {
    ts::Run r;
    r.speedUnitTable = {{100, 200, 0, 60, ""}, {150, 150, 99, 99, ""}, {200, 300, 60, 60, ""}};
    r.trainPosition = 150;
    updateRecordedSpeed(r, r);
    EXPECT_EQ(r.recordedSpeedKmh, 30) << "a one-frame row is not used";
    r.trainPosition = 200;
    updateRecordedSpeed(r, r);
    EXPECT_EQ(r.recordedSpeedKmh, 60);
    r.trainPosition = 1000;
    updateRecordedSpeed(r, r);
    EXPECT_EQ(r.recordedSpeedKmh, 60) << "no row: kept";
    r.trainTons = 1000000;
    r.speed = 0;
    // 27 777.78 N on 100 t is 1 km/h/s: 1/30 km/h in a tick.
    EXPECT_EQ(speedAfter(r, r, 277777778), 333);
    r.trainTons = 0;
    EXPECT_EQ(speedAfter(r, r, 277777778), 0) << "no mass, no acceleration";
}

TEST(DieselEngine, PitchClimbsToTheNotchCeiling) {
    ts::Run r = diesel(0, 0);
    r.enginePitch = 50;
    r.engineLevel = 1;
    r.effectivePowerNotch = 2;  // ceiling 50 + 50 / 4 x 2 = 75
    for (int i = 0; i < 10; ++i) dieselEngineModel(r, r, r, r);
    EXPECT_DOUBLE_EQ(double(r.enginePitch), 78.0) << "rises by 4 while below 75";
    EXPECT_DOUBLE_EQ(double(r.engineLevel), 51.0);
    r.effectivePowerNotch = 0;
    dieselEngineModel(r, r, r, r);
    EXPECT_DOUBLE_EQ(double(r.enginePitch), 76.0);
    EXPECT_DOUBLE_EQ(double(r.engineLevel), 48.0);
}
