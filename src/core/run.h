// The run's state. Loaded data (route, train, texts) is read once by the
// loading sequence and then only read; run-time state is split into parts named
// for what they hold. Each part's variables are declared from one field list,
// which the trace also walks, so a new variable is traced without further work.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "data/route_data.h"
#include "data/string_table.h"
#include "data/train_data.h"
#include "devices/sound_device.h"

namespace ts {

constexpr int kStationFlags = 100;
using StationFlags = std::array<uint8_t, kStationFlags>;
using CarGradients = std::array<int32_t, kMaxCars>;

#define TS_DECLARE_FIELD(type, name, init) type name = init;

// The string table's and controller map's texts, as loaded.
struct LoadedTexts {
    std::array<std::string, kHandleLabelCount> handleLabelTexts;
    std::vector<std::string> controllerCodes;
};

// The driving run itself: which train, and whether input is taken.
#define TS_SESSION_FIELDS(X)      \
    X(std::string, trainCode, {}) \
    X(uint8_t, inputLocked, 0)    \
    X(uint8_t, viewJumpPending, 0)
struct Session {
    TS_SESSION_FIELDS(TS_DECLARE_FIELD)
};

// Where the train is and how fast it goes; the time of day.
#define TS_MOTION_FIELDS(X)                                                     \
    X(int64_t, speed, 0)            /* km/h x 10000 */                          \
    X(int32_t, trainPosition, 0)    /* frame of the driver's-view video */      \
    X(int32_t, frameAccumulator, 0) /* whole km/h not yet turned into frames */ \
    X(int32_t, recordedSpeedKmh, 0) /* the recording train's speed here */      \
    X(int64_t, appliedForce, 0)     /* N x 10000, positive forward */           \
    X(int64_t, resistanceForce, 0)  /* N x 10000, positive forward */           \
    X(int32_t, clockTicks, 0)       /* time of day in 1/30 s */                 \
    X(long double, stopDistance, 0) /* centimetres to the next stop position */
struct Motion {
    TS_MOTION_FIELDS(TS_DECLARE_FIELD)
};

// Power supply, notch and gear delays, the diesel engine.
#define TS_TRACTION_FIELDS(X)                    \
    X(int64_t, lineVoltage, 0)                   \
    X(int64_t, lineVoltageTarget, 0)             \
    X(int32_t, motorCurrent, 0)                  \
    X(int32_t, powerDelayTicks, 0)               \
    X(int32_t, gearShiftTicks, 0)                \
    X(int32_t, brakeDelayTicks, 0)               \
    X(int32_t, currentGear, 0)                   \
    X(uint8_t, gearShifting, 0)                  \
    X(long double, enginePitch, 0) /* percent */ \
    X(long double, engineLevel, 0)
struct Traction {
    TS_TRACTION_FIELDS(TS_DECLARE_FIELD)
};

// Wheel adhesion and the gradient the train feels.
#define TS_ADHESION_FIELDS(X)                                                     \
    X(int64_t, baseAdhesion, 0)                                                   \
    X(int64_t, adhesionCoefficient, 0)                                            \
    X(int64_t, trainGradient, 0) /* per mille x 10000, averaged over the train */ \
    X(CarGradients, carGradients, {})                                             \
    X(int64_t, gradientSampleMark, 0)
struct Adhesion {
    TS_ADHESION_FIELDS(TS_DECLARE_FIELD)
};

// The handles as commanded and as taken over by the step. `brakeNotchCount`
// starts as the train file's count and is 4 for brake type 0.
#define TS_HANDLE_FIELDS(X)            \
    X(int32_t, brakeNotchCount, 0)     \
    X(int32_t, powerNotch, 0)          \
    X(int32_t, effectivePowerNotch, 0) \
    X(int32_t, brakeNotch, 0)          \
    X(int32_t, effectiveBrakeNotch, 0) \
    X(int32_t, reverser, 0)            \
    X(uint8_t, holdPosition, 0)        \
    X(uint8_t, holdExitLatch, 0)       \
    X(uint8_t, powerHandleMoved, 0)    \
    X(uint8_t, brakeHandleMoved, 0)
struct Handles {
    TS_HANDLE_FIELDS(TS_DECLARE_FIELD)
};

// The driver's own switches: keypad swap, follow the recording, timetable card.
#define TS_DRIVER_OPTION_FIELDS(X)   \
    X(uint8_t, keypadInverted, 0)    \
    X(uint8_t, recordedSpeedMode, 0) \
    X(uint8_t, staffShown, 0)
struct DriverOptions {
    TS_DRIVER_OPTION_FIELDS(TS_DECLARE_FIELD)
};

// Train protection and the vigilance device. `ebSetting` starts as the train
// file's value; following the recording switches the device off.
#define TS_PROTECTION_FIELDS(X)         \
    X(int32_t, ebSetting, 0)            \
    X(uint8_t, safetyEmergencyBrake, 0) \
    X(uint8_t, atsServiceBrake, 0)      \
    X(uint8_t, atsBellRinging, 0)       \
    X(uint8_t, atsChimePending, 0)      \
    X(uint8_t, atsConfirmed, 0)         \
    X(int32_t, atsBellTicks, 0)         \
    X(int32_t, atsAlarmState, 0)        \
    X(int32_t, atsAlarmTarget, 0)       \
    X(uint8_t, atcBrakeHolding, 0)      \
    X(int32_t, nextSignalAspect, 0)     \
    X(int32_t, ebDeviceIdleTicks, 0)
struct Protection {
    TS_PROTECTION_FIELDS(TS_DECLARE_FIELD)
};

// Air brake pressures (kPa x 10000) and the compressor.
#define TS_AIR_BRAKE_FIELDS(X)     \
    X(int64_t, bcPressure, 0)      \
    X(int64_t, erPressure, 0)      \
    X(int64_t, sapPressure, 0)     \
    X(int64_t, mrPressure, 0)      \
    X(int64_t, bcGaugePressure, 0) \
    X(uint8_t, compressorRunning, 0)
struct AirBrake {
    TS_AIR_BRAKE_FIELDS(TS_DECLARE_FIELD)
};

// Block signals: the preceding train, each [Signal] row's current aspect
// (after the cab signal display, its picture index), the aspect shown.
#define TS_SIGNAL_FIELDS(X)                    \
    X(int32_t, precedingTrainPosition, 0)      \
    X(std::vector<int32_t>, signalAspects, {}) \
    X(int32_t, shownSignalAspect, 0)
struct SignalState {
    TS_SIGNAL_FIELDS(TS_DECLARE_FIELD)
};

// Gradient sign, speed limits, sign call-outs.
#define TS_SIGN_FIELDS(X)              \
    X(int64_t, pointGradient, 0)       \
    X(uint8_t, speedLimitSignShown, 0) \
    X(int32_t, shownSpeedLimit, 0)     \
    X(int32_t, activeSpeedLimit, 0)    \
    X(int32_t, signCallIndex, 0)
struct SignState {
    TS_SIGN_FIELDS(TS_DECLARE_FIELD)
};

// Stations passed and stopped at, and the doors. `doorLampLit` is the
// door-closed indication that the Lamp_Door picture shows.
#define TS_STATION_FIELDS(X)                         \
    X(StationFlags, stationArrived, {})              \
    X(StationFlags, stationDepartureSoundPlayed, {}) \
    X(StationFlags, stationDeparted, {})             \
    X(uint8_t, doorsOpen, 0)                         \
    X(uint8_t, doorOpenCommand, 0)                   \
    X(uint8_t, doorLampLit, 1)
struct StationState {
    TS_STATION_FIELDS(TS_DECLARE_FIELD)
};

// Levels of the scheduled sounds (percent) and the route sounds started.
#define TS_SOUND_LEVEL_FIELDS(X)                     \
    X(std::vector<uint8_t>, routeSoundStarted, {})   \
    X(long double, driveLevelLow, 0)                 \
    X(long double, driveLevelHigh, 0)                \
    X(std::vector<long double>, motorSpeedLevel, {}) \
    X(std::vector<long double>, motorFadeLevel, {})  \
    X(long double, motorMasterLevel, 0)              \
    X(int32_t, squealVolume, 0) /* the volume last set on the squeal channel */
struct SoundLevels {
    TS_SOUND_LEVEL_FIELDS(TS_DECLARE_FIELD)
};

// The painting and the 100 ms step's own counters.
#define TS_PRESENTATION_FIELDS(X)                                              \
    X(int32_t, presentationTicks, 0)                                           \
    X(int32_t, shownGear, 0) /* gear on the indicator, -1 = neutral picture */ \
    X(int32_t, paintFrame, 0)                                                  \
    X(int32_t, lastPaintedFrame, -1) /* the frame on view */
struct Presentation {
    TS_PRESENTATION_FIELDS(TS_DECLARE_FIELD)
};

// Wave tables of the sound bank, in loading order (an empty file name leaves its slot empty).
struct SoundBankWaves {
    std::vector<WavePtr> driveSoundWaves, soundDataWaves, kankoWaves, otherSoundWaves, motorSoundWaves;
};

// Every run-time part, in the order the trace lists them.
// clang-format off
#define TS_RUN_STATE_PARTS(X)                                                                      \
    X(Session, TS_SESSION_FIELDS) X(Presentation, TS_PRESENTATION_FIELDS) X(Motion, TS_MOTION_FIELDS) \
    X(Traction, TS_TRACTION_FIELDS) X(Adhesion, TS_ADHESION_FIELDS) X(AirBrake, TS_AIR_BRAKE_FIELDS)  \
    X(Handles, TS_HANDLE_FIELDS) X(DriverOptions, TS_DRIVER_OPTION_FIELDS)                          \
    X(Protection, TS_PROTECTION_FIELDS) X(SignalState, TS_SIGNAL_FIELDS) X(SignState, TS_SIGN_FIELDS) \
    X(StationState, TS_STATION_FIELDS) X(SoundLevels, TS_SOUND_LEVEL_FIELDS)
// clang-format on

// The whole state of one run. Step functions take the parts they touch; the
// whole is handed only to loading, the station jump and the trace.
struct Run : RouteData,
             TrainData,
             LoadedTexts,
             Session,
             Motion,
             Traction,
             Adhesion,
             Handles,
             DriverOptions,
             Protection,
             AirBrake,
             SignalState,
             SignState,
             StationState,
             SoundLevels,
             Presentation,
             SoundBankWaves {};

// Visits every traced run variable by name.
class RunFieldVisitor {
public:
    virtual ~RunFieldVisitor() = default;
    virtual void integer(const char* name, int64_t value) = 0;
    virtual void real(const char* name, long double value) = 0;
    virtual void text(const char* name, const std::string& value) = 0;
    virtual void flags(const char* name, const uint8_t* values, int count) = 0;
    virtual void integers(const char* name, const int32_t* values, int count) = 0;
    virtual void reals(const char* name, const long double* values, int count) = 0;
    virtual void texts(const char* name, const std::string* values, int count) = 0;
};

// The loaded data's summary and every run-time variable.
void visitRunFields(const Run& run, RunFieldVisitor& v);
// The string table's and controller map's texts (the trace's first line).
void visitLoadedTexts(const Run& run, RunFieldVisitor& v);

// Variables that keep their values from one run to the next while the program runs.
struct CarriedOver {
    uint8_t keypadInverted = 0, recordedSpeedMode = 0, holdPosition = 0, holdExitLatch = 0;
    void into(Run& r) const;
    void from(const Run& r);
};
CarriedOver& carriedOver();

}  // namespace ts
