// The train file's values and tables (CODE_train.txt), cab panel sections included.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "data/pictures.h"

namespace ts {

constexpr int kNotchRows = 11;
constexpr int kEngineRows = 11;
constexpr int kMotorSounds = 28;  // channels 100 .. 127
constexpr int kDriveSounds = 100;
constexpr int kOtherPanelImages = 11;
constexpr int kMaxCars = 20;

// The train file's kinds. Each keeps the integer read from the file, so a
// value without a name here stays as read (and traced) and behaves as the
// rules say for an unknown value.
// [Handle]: one lever for power and brake, or separate power and brake handles.
enum class HandleType : int32_t { Combined = 0, Separate = 1 };
// [BrakeType]: the automatic air brake with named positions, or a notched
// electro-pneumatic brake, without or with a straight air pipe.
enum class BrakeType : int32_t { AutomaticAir = 0, ElectroPneumatic = 1, ElectroPneumaticWithPipe = 2 };
// [ATS_Type]: the automatic train stop or the continuous speed control; any
// other value is a train without train protection.
enum class ProtectionType : int32_t { TrainStop = 0, SpeedControl = 2 };
// [Engine_Type]: a diesel railcar (the gear table) or an electric train (the notch table).
enum class EngineType : int32_t { Diesel = 0, Electric = 1 };

struct NotchRow {
    double startAccel = 0, baseAccel = 0;
    int32_t baseSpeed = 0, fadeSpeed = 0;
    double fadeFactor = 0;
};

struct EngineRow {
    int32_t lowSpeed = 0, midSpeed = 0, highSpeed = 0;
    double lowAccel = 0, midAccel = 0, highAccel = 0;
};

struct MotorSoundData {
    std::string fileName;
    int32_t condition = 0;  // 0 power, 1 brake, 2 always
    long double speedFrom = 0, speedTo = 0, pitchFrom = 0, pitchTo = 0, levelFrom = 0, levelTo = 0;
};

struct Lamp {
    std::string fileName;
    int32_t x = 0, y = 0;
};

struct Meter {
    std::string fileName;
    int32_t x = 0, y = 0, width = 0, height = 0, zeroAngle = 0;
    long double anglePerUnit = 0;
};

// Panel sections with one picture each, in the order their items are created.
enum PanelLamp {
    kPanel,
    kPanel2,
    kLampDoor,
    kLampPower,
    kLampEB,
    kLampGen,
    kLampAir,
    kLampEle,
    kLampAts,
    kLampG,
    kLampYG,
    kLampY,
    kLampYY,
    kLampR,
    kLampFwd,
    kLampBck,
    kPanelLampCount
};
enum PanelNeedle {
    kNeedleSpeed,
    kNeedleBC,
    kNeedleSAP,
    kNeedleER,
    kNeedleBP,
    kNeedleMR,
    kNeedleV,
    kNeedleI,
    kNeedleCount
};

// The train file's section of each lamp and needle, and the needles' section labels.
inline constexpr const char* kPanelLampMarkers[kPanelLampCount] = {
    "[Panel]",    "[Panel2]", "[Lamp_Door]", "[Lamp_Power]", "[Lamp_EB]", "[Lamp_Gen]", "[Lamp_Air]", "[Lamp_Ele]",
    "[Lamp_Ats]", "[Lamp_G]", "[Lamp_YG]",   "[Lamp_Y]",     "[Lamp_YY]", "[Lamp_R]",   "[Lamp_Fwd]", "[Lamp_Back]"};
inline constexpr const char* kNeedleMarkers[kNeedleCount] = {"[Needle_Speed]", "[Needle_BC]", "[Needle_SAP]",
                                                             "[Needle_ER]",    "[Needle_BP]", "[Needle_MR]",
                                                             "[Needle_V]",     "[Needle_I]"};
inline constexpr const char* kNeedleLabels[kNeedleCount] = {"- 速度計",   "- BC圧力計", "- SAP圧力計", "- ER圧力計",
                                                            "- BP圧力計", "- MR圧力計", "- 電圧計",    "- 電流計"};

struct TrainData {
    HandleType handleType = HandleType::Combined;
    BrakeType brakeType = BrakeType::AutomaticAir;
    int32_t brakeNotchCountInFile = 0, powerNotchCount = 0, holdPositionEnabled = 0;
    int64_t brakeRate = 0;
    int32_t powerDelay = 0, brakeDelay = 0, brakeUp = 0, brakeDown = 0, ebPressure = 0, highAirPressure = 0,
            lowAirPressure = 0, curr1 = 0, curr2 = 0, doorType = 0;
    EngineType engineType = EngineType::Diesel;
    int64_t mt = 0, tt = 0;
    int32_t carCount = 0;
    int64_t trainTons = 0;
    int32_t ebSettingInFile = 0, maxSpeed = 0, loseElec = 0, mc = 0, atsAlert = 0, atsTime = 0, atsCnt = 0;
    ProtectionType atsType = ProtectionType::TrainStop;
    int32_t soundBr1 = 0, soundBr2 = 0, soundEB = 0, soundAts1 = 0, soundAts2 = 0, soundAtc = 0, soundHorn = 0,
            soundHorn2 = 0, soundDoorOpen = 0, soundDoorClose = 0, soundEBring = 0, soundSqueak = 0, soundCpStart = 0,
            soundCpCnt = 0, soundCpEnd = 0, soundStop = 0;
    int32_t engineSound1 = 0, engineSound2 = 0, engineSound3 = 0;

    std::array<NotchRow, kNotchRows + 1> notchTable{};  // entry n = power notch n; entry 0 unused
    int notchRowCount = 0;
    std::vector<EngineRow> engineTable;           // engineCount
    std::vector<MotorSoundData> motorSoundTable;  // motorSoundCount
    std::vector<std::string> driveSoundFiles;     // driveSoundCount

    // Cab panel
    int32_t clockX = 0, clockY = 0, clockHandLength = 0;
    std::array<Lamp, kPanelLampCount> panelLamps{};
    std::array<Meter, kNeedleCount> needles{};
    std::array<bool, kNeedleCount> needlePresent{};
    int32_t notchImagePX = 0, notchImagePY = 0, notchImageBX = 0, notchImageBY = 0, gearImageX = 0, gearImageY = 0;
    ImageList NotchImageP, NotchImageB, GearImageList;
    std::vector<Lamp> otherPanelTable;  // otherPanelCount

    int engineCount() const { return int(engineTable.size()); }
    int motorSoundCount() const { return int(motorSoundTable.size()); }
    int driveSoundCount() const { return int(driveSoundFiles.size()); }
    int otherPanelCount() const { return int(otherPanelTable.size()); }
};

}  // namespace ts
