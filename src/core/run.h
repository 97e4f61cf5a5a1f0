// The run's state: the process-wide variables of one driving run under their
// own names. Everything the steps and handlers share lives here.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "data/route_data.h"
#include "data/string_table.h"
#include "data/train_data.h"
#include "sound/sound_device.h"

namespace ts {

constexpr int kStationFlags = 100;

struct Run : RouteData, TrainData {
    // Driving run
    std::string trainCode;
    uint8_t inputLocked = 0;
    uint8_t viewJumpPending = 0;

    // String table and controller map
    std::array<std::string, kHandleLabelCount> handleLabelTexts;
    std::vector<std::string> controllerCodes;

    // Motion
    int64_t speed = 0;             // km/h x 10000
    int32_t trainPosition = 0;     // frame of the driver's-view video
    int32_t frameAccumulator = 0;  // whole km/h not yet turned into frames
    int32_t recordedSpeedKmh = 0;  // the recording train's speed here
    int64_t appliedForce = 0;      // N x 10000, positive forward
    int64_t resistanceForce = 0;   // N x 10000, positive forward
    int32_t clockTicks = 0;        // time of day in 1/30 s
    long double stopDistance = 0;  // centimetres to the next stop position
    int32_t paintFrame = 0;
    int32_t lastPaintedFrame = -1;  // the frame on view
    int64_t lineVoltage = 0, lineVoltageTarget = 0;
    int32_t motorCurrent = 0;

    // Traction
    int32_t powerDelayTicks = 0, gearShiftTicks = 0, brakeDelayTicks = 0;
    int32_t currentGear = 0;
    uint8_t gearShifting = 0;
    long double enginePitch = 0;  // percent
    long double engineLevel = 0;

    // Adhesion and gradient
    int64_t baseAdhesion = 0;
    int64_t adhesionCoefficient = 0;
    int64_t trainGradient = 0;  // per mille x 10000, averaged over the train
    std::array<int32_t, kMaxCars> carGradients{};
    int64_t gradientSampleMark = 0;

    // Presentation
    int32_t presentationTicks = 0;
    int32_t shownGear = 0;  // gear on the gear indicator, -1 = neutral picture

    // Handles
    int32_t powerNotch = 0, effectivePowerNotch = 0;
    int32_t brakeNotch = 0, effectiveBrakeNotch = 0;
    int32_t reverser = 0;
    uint8_t holdPosition = 0, holdExitLatch = 0;
    uint8_t powerHandleMoved = 0, brakeHandleMoved = 0;

    // Keyboard
    uint8_t keypadInverted = 0;
    uint8_t recordedSpeedMode = 0;
    uint8_t staffShown = 0;

    // Train protection and vigilance
    uint8_t safetyEmergencyBrake = 0, atsServiceBrake = 0;
    uint8_t atsBellRinging = 0, atsChimePending = 0, atsConfirmed = 0;
    int32_t atsBellTicks = 0;
    int32_t atsAlarmState = 0;
    int32_t atsAlarmTarget = 0;
    uint8_t atcBrakeHolding = 0;
    int32_t nextSignalAspect = 0;
    int32_t ebDeviceIdleTicks = 0;

    // Air brake (kPa x 10000)
    int64_t bcPressure = 0, erPressure = 0, sapPressure = 0, mrPressure = 0, bcGaugePressure = 0;
    uint8_t compressorRunning = 0;

    // Signals and signs
    int32_t precedingTrainPosition = 0;
    int32_t shownSignalAspect = 0;
    int64_t pointGradient = 0;
    uint8_t speedLimitSignShown = 0;
    int32_t shownSpeedLimit = 0;
    int32_t activeSpeedLimit = 0;
    int32_t signCallIndex = 0;

    // Stations and doors
    std::array<uint8_t, kStationFlags> stationArrived{};
    std::array<uint8_t, kStationFlags> stationDepartureSoundPlayed{};
    std::array<uint8_t, kStationFlags> stationDeparted{};
    uint8_t doorsOpen = 0;
    uint8_t doorOpenCommand = 0;

    // Sound scheduling (levels in percent)
    std::vector<uint8_t> routeSoundStarted;
    long double driveLevelLow = 0, driveLevelHigh = 0;
    std::vector<long double> motorSpeedLevel, motorFadeLevel;
    long double motorMasterLevel = 0;
    int32_t squealVolume = 0;  // the volume last set on the squeal channel

    // Wave tables of the sound bank, in loading order (an empty file name leaves its slot empty)
    std::vector<WavePtr> driveSoundWaves, soundDataWaves, kankoWaves, otherSoundWaves, motorSoundWaves;
};

// Visits every traced run variable by name.
class RunFieldVisitor {
public:
    virtual ~RunFieldVisitor() = default;
    virtual void integer(const char* name, int64_t value) = 0;
    virtual void real(const char* name, long double value) = 0;
    virtual void text(const char* name, const std::string& value) = 0;
    virtual void flags(const char* name, const uint8_t* values, int count) = 0;
    virtual void integers(const char* name, const int32_t* values, int count) = 0;
};

void visitRunFields(const Run& run, RunFieldVisitor& v);

// Variables that keep their values from one run to the next while the program runs.
struct CarriedOver {
    uint8_t keypadInverted = 0, recordedSpeedMode = 0, holdPosition = 0, holdExitLatch = 0;
    void into(Run& r) const;
    void from(const Run& r);
};
CarriedOver& carriedOver();

}  // namespace ts
