// The route file's values and tables (CODE_line.txt).
#pragma once
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "data/pictures.h"

namespace ts {

constexpr int kRouteRows = 501;
constexpr int kLoadableRouteSounds = 100;
constexpr int kKankoSlots1 = 28;
constexpr int kKankoPairs = 72;
constexpr int kOtherImages = 100;
constexpr int kMenuStations = 100;
// The last frame of a line whose route file has no [EndPos]: the run ends
// when the train passes it.
constexpr int kEndOfLine = 4500;

struct StationData {
    int32_t kind = 0;  // 0 stop with doors, 1 pass, 2 stop without doors
    std::string name;
    int32_t stopFrom = 0, stopTo = 0, soundIndex = 0, departureTime = 0, closeTime = 0, nextStopDistance = 0;
};

struct SignalData {
    int32_t kind = 0;
    std::string label;
    int32_t aspectSet = 0, fromPosition = 0, toPosition = 0, alarmPosition = 0, checkPosition = 0, fixedAspect = 0,
            releaseTime = 0;
};

struct Speed_UnitData {
    int32_t fromPosition = 0, toPosition = 0, fromSpeed = 0, toSpeed = 0;
    std::string text;  // not read
};

// A known place along the line for fitting the recorded speed to the video's
// motion; the run does not use it.
struct DistanceMarkRow {
    int32_t frame = 0;
    int32_t metres = 0;  // from any fixed origin (a kilometre post's figure)
};

struct Kanko {
    std::string callText;  // compared with the text of the signal label
    std::string fileName;
};

struct AnnounceRow {
    int32_t soundIndex = 0, position = 0;
};
struct RouteSoundRow {
    int32_t soundIndex = 0, position = 0, endPosition = 0, pitchSpeed = 0, loopMode = 0;
};
struct DopplerRow {
    int32_t soundIndex = 0, fromPosition = 0, passPosition = 0, toPosition = 0;
};
struct TunnelRow {
    int32_t fromPosition = 0, toPosition = 0;
};
struct SlopeRow {
    int32_t fromPosition = 0, toPosition = 0;
    int64_t gradient = 0;
};
struct SignRow {
    int32_t fromPosition = 0, toPosition = 0, imageIndex = 0;
};
struct SpeedLimitRow {
    int32_t limit = 0, noticePosition = 0, fromPosition = 0, toPosition = 0;
};
struct SpeedCheckRow {
    int32_t limit = 0, position = 0;
};

// [VideoAlignment]'s rate is kept in millionths: this is the rate of an unchanged copy.
constexpr int32_t kVideoRateUnit = 1000000;
constexpr int32_t kVideoAlignmentOffsetLimit = 10000000;

struct RouteData {
    std::string lineName;
    int32_t startPosition = 0;
    int32_t frameRate = 0;
    std::string staffImageFile;
    int32_t startTime = 0;
    int32_t signalSpeedYY = 0, signalSpeedY = 0, signalSpeedYG = 0, signalSpeedG = 0;
    std::string videoFile;
    int32_t preTimeTicks = 0;
    int32_t oneManOperation = 0;
    int32_t letterbox = 0;  // 1: a video of another shape than 2:1 is shown whole, with black bars
    // [VideoAlignment]: the route's frame f is the video file's frame videoOffset + f × videoRate / 1e6
    // (a copy of the video cut or sped up otherwise than the one the route was made on).
    int32_t videoOffset = 0;
    int32_t videoRate = kVideoRateUnit;
    int32_t endPosition = 0;  // [EndPos], when hasEndPosition
    bool hasEndPosition = false;

    std::vector<std::string> soundDataFiles;  // soundDataCount
    std::vector<std::string> kankoSound1Files = std::vector<std::string>(kKankoSlots1);
    std::vector<Kanko> kankoTable = std::vector<Kanko>(kKankoSlots1);  // pairs from index 28 on
    int32_t kankoCount = 0;
    bool hasKankoSound2 = false;
    std::vector<AnnounceRow> announceTable;
    std::vector<RouteSoundRow> routeSoundTable;
    std::vector<DopplerRow> dopplerTable;
    std::vector<TunnelRow> tunnelTable;
    std::vector<StationData> stationTable;
    std::vector<int32_t> stopSoundTable;
    std::vector<SignalData> signalTable;
    std::vector<SlopeRow> slopeTable;
    std::vector<SignRow> signTable;
    std::vector<SpeedLimitRow> speedLimitTable;
    std::vector<SpeedCheckRow> speedCheckTable;
    std::vector<Speed_UnitData> speedUnitTable;
    std::vector<DistanceMarkRow> distanceMarkTable;  // kept for the editor and the checker

    ImageList SignImageList{50, 50, {}};
    ImageList OtherImageList{100, 50, {}};
    ImageList SignalImageList{50, 100, {}};
    std::vector<std::string> otherSoundFiles;  // otherImageCount

    // The last frame of the line: the run ends when the train passes it.
    int32_t lineEnd() const { return hasEndPosition ? endPosition : kEndOfLine; }

    // How many of the route's frames a video file of `fileFrames` frames holds, through [VideoAlignment].
    int32_t routeFramesIn(int32_t fileFrames) const {
        if (videoOffset == 0 && videoRate == kVideoRateUnit) return fileFrames;
        if (videoRate <= 0) return 0;
        return int32_t(std::max<int64_t>(0, (int64_t(fileFrames) - videoOffset) * kVideoRateUnit / videoRate));
    }

    int soundDataCount() const { return int(soundDataFiles.size()); }
    int announceCount() const { return int(announceTable.size()); }
    int routeSoundCount() const { return int(routeSoundTable.size()); }
    int dopplerCount() const { return int(dopplerTable.size()); }
    int tunnelCount() const { return int(tunnelTable.size()); }
    int stationCount() const { return int(stationTable.size()); }
    int stopSoundCount() const { return int(stopSoundTable.size()); }
    int signalCount() const { return int(signalTable.size()); }
    int slopeCount() const { return int(slopeTable.size()); }
    int signCount() const { return int(signTable.size()); }
    int speedLimitCount() const { return int(speedLimitTable.size()); }
    int speedCheckCount() const { return int(speedCheckTable.size()); }
    int speedUnitCount() const { return int(speedUnitTable.size()); }
    int otherImageCount() const { return int(otherSoundFiles.size()); }
};

}  // namespace ts
