#include "data/route_reader.h"

#include "data/fields.h"
#include "data/file_names.h"
#include "data/section_reader.h"

namespace ts {

namespace {

int32_t col(const std::string& line, int n) { return toIntField(line, n); }

int64_t fixedCol(const std::string& line, int n) {
    try {
        return toFixed(csvField(line, n));
    } catch (FormatError& e) {
        e.column = n;
        throw;
    }
}

// Reads a "#"-terminated list of comma rows into `table`, from its first slot.
template <class Row, class Fill>
void readRows(SectionCursor& c, std::vector<Row>& table, int capacity, Fill fill, bool skipSemicolon = false,
              int entryLines = 1) {
    table.clear();
    readList(
        c, capacity,
        [&](SectionCursor& s, int) {
            // The row takes its slot first, so that the rows of a checked file keep their places.
            table.emplace_back();
            fill(s, table.back());
        },
        skipSemicolon, entryLines);
}

void appendPicture(ImageList& list, const std::string& name, PictureLoader& pictures) {
    auto id = pictures.load(resolveDataPath(name));
    if (!id) {
        throw FormatError::refused("the picture \"" + name + "\" cannot be loaded: the file is missing or not a picture");
    }
    list.pictures.push_back(*id);
}

}  // namespace

void readRouteFile(const std::string& path, RouteData& r, PictureLoader& pictures, MessageBoxes& boxes,
                   Diagnostics* diagnostics, std::vector<SectionSpan>* spans) {
    FileRefusal refusal = FileRefusal::Missing;
    auto file = readTextFile(path, &refusal);
    if (!file) {
        if (recordUnreadable(diagnostics, path, kRouteFileMessage, refusal)) return;
        fatal(boxes, kRouteFileMessage, detailsText(unreadableFile(path, kRouteFileMessage, refusal)));
    }
    readRouteText(*file, baseName(path), r, pictures, boxes, diagnostics, spans);
}

void readRouteText(const TextFile& routeText, const std::string& fileName, RouteData& r, PictureLoader& pictures,
                   MessageBoxes& boxes, Diagnostics* diagnostics, std::vector<SectionSpan>* spans) {
    const std::string message = kRouteFileMessage;
    const TextFile* file = &routeText;

    auto text = [](std::string& v) { return [&v](SectionCursor& c) { v = c.readText(); }; };
    auto raw = [](std::string& v) { return [&v](SectionCursor& c) { v = c.readRaw(); }; };
    auto integer = [](int32_t& v) { return [&v](SectionCursor& c) { v = c.readInt(); }; };

    std::vector<SectionRule> rules{
        {"[LineName]", "", text(r.lineName)},
        {"[StartPos]", "", integer(r.startPosition)},
        {"[FrameRate]", "", [&](SectionCursor& c) {
             r.frameRate = c.readInt();
             // The clock and signal arithmetic divide by it.
             if (r.frameRate < 1 || r.frameRate > 30)
                 throw FormatError::refused("the frame rate must be a whole number from 1 to 30");
         }},
        {"[Staf]", "", raw(r.staffImageFile)},
        {"[StartTime]", "", integer(r.startTime)},
        {"[Speed_YY]", "", integer(r.signalSpeedYY)},
        {"[Speed_Y]", "", integer(r.signalSpeedY)},
        {"[Speed_YG]", "", integer(r.signalSpeedYG)},
        {"[Speed_G]", "", integer(r.signalSpeedG)},
        {"[Path]", "", raw(r.videoFile)},
        {"[Pre_Time]", "", [&](SectionCursor& c) {
             const int64_t ticks = int64_t(c.readInt()) * 30;
             if (ticks < -kDataIntegerLimit || ticks > kDataIntegerLimit) {
                 throw FormatError::refused("the time in seconds is too large: times of day stay below " +
                                       std::to_string(kDataIntegerLimit / 30) + " s");
             }
             r.preTimeTicks = int32_t(ticks);
         }},
        {"[OneMan]", "", integer(r.oneManOperation)},
        {"[SoundData]", "[SoundData]", [&](SectionCursor& c) {
             readRows(c, r.soundDataFiles, kLoadableRouteSounds, [](SectionCursor& s, std::string& f) { f = s.line(); });
         }},
        {"[Announce]", "[Announce]", [&](SectionCursor& c) {
             readRows(c, r.announceTable, kRouteRows, [](SectionCursor& s, AnnounceRow& a) {
                 a.soundIndex = col(s.line(), 1);
                 a.position = col(s.line(), 2);
             });
         }},
        {"[KankoSound1]", "[KankoSound1]", [&](SectionCursor& c) {
             for (int k = 0; k < kKankoSlots1; ++k) r.kankoSound1Files[size_t(k)] = c.readRaw();
         }},
        {"[KankoSound2]", "[KankoSound2]", [&](SectionCursor& c) {
             r.hasKankoSound2 = true;
             r.kankoTable.resize(kKankoSlots1);
             r.kankoCount = kKankoSlots1;
             readList(
                 c, kKankoPairs,
                 [&](SectionCursor& s, int) {
                     Kanko k;
                     k.callText = s.decode(s.line());
                     k.fileName = s.readRaw();
                     r.kankoTable.push_back(k);
                     ++r.kankoCount;
                 },
                 false, 2);
         }},
        {"[Sound]", "[Sound]", [&](SectionCursor& c) {
             readRows(
                 c, r.routeSoundTable, kRouteRows,
                 [](SectionCursor& s, RouteSoundRow& x) {
                     x.soundIndex = col(s.line(), 1);
                     x.position = col(s.line(), 2);
                     x.endPosition = col(s.line(), 3);
                     x.pitchSpeed = col(s.line(), 4);
                     x.loopMode = col(s.line(), 5);
                 },
                 true);
         }},
        {"[Doppler]", "[Doppler]", [&](SectionCursor& c) {
             readRows(c, r.dopplerTable, kRouteRows, [](SectionCursor& s, DopplerRow& x) {
                 x.soundIndex = col(s.line(), 1);
                 x.fromPosition = col(s.line(), 2);
                 x.passPosition = col(s.line(), 3);
                 x.toPosition = col(s.line(), 4);
             });
         }},
        {"[Tunnel]", "[Tunnel]", [&](SectionCursor& c) {
             readRows(
                 c, r.tunnelTable, kRouteRows,
                 [](SectionCursor& s, TunnelRow& x) {
                     x.fromPosition = toInt(s.line());
                     x.toPosition = s.readInt();
                 },
                 false, 2);
         }},
        {"[Station]", "[Station]", [&](SectionCursor& c) {
             readRows(c, r.stationTable, kRouteRows, [&](SectionCursor& s, StationData& x) {
                 const std::string& l = s.line();
                 x.name = s.decode(csvField(l, 1));
                 x.kind = col(l, 2);
                 x.stopFrom = col(l, 3);
                 x.stopTo = col(l, 4);
                 x.soundIndex = col(l, 5);
                 x.departureTime = col(l, 6);
                 x.closeTime = col(l, 7);
                 x.nextStopDistance = col(l, 8);
                 // The Move menu and the per-station state hold 100 stations.
                 if ((x.kind == 0 || x.kind == 2) && int(r.stationTable.size()) > kMenuStations) {
                     throw FormatError::refused("only the first " + std::to_string(kMenuStations) +
                                           " stations may be stops (kind 0 or 2); later ones must be kind 1", 2);
                 }
             });
         }},
        {"[StopSound]", "[StopSound]", [&](SectionCursor& c) {
             readRows(c, r.stopSoundTable, kRouteRows, [](SectionCursor& s, int32_t& p) { p = toInt(s.line()); });
         }},
        {"[Signal]", "[Signal]", [&](SectionCursor& c) {
             readRows(c, r.signalTable, kRouteRows, [&](SectionCursor& s, SignalData& x) {
                 const std::string& l = s.line();
                 x.kind = col(l, 1);
                 x.label = s.decode(csvField(l, 2));
                 x.aspectSet = col(l, 3);
                 x.fromPosition = col(l, 4);
                 x.toPosition = col(l, 5);
                 x.alarmPosition = col(l, 6);
                 x.checkPosition = col(l, 7);
                 x.fixedAspect = col(l, 8);
                 x.releaseTime = col(l, 9);
             });
         }},
        {"[Slope]", "[Slope]", [&](SectionCursor& c) {
             readRows(c, r.slopeTable, kRouteRows, [](SectionCursor& s, SlopeRow& x) {
                 x.gradient = fixedCol(s.line(), 1);
                 x.fromPosition = col(s.line(), 2);
                 x.toPosition = col(s.line(), 3);
             });
         }},
        {"[Sign]", "[Sign]", [&](SectionCursor& c) {
             readRows(c, r.signTable, kRouteRows, [](SectionCursor& s, SignRow& x) {
                 x.imageIndex = col(s.line(), 1);
                 x.fromPosition = col(s.line(), 2);
                 x.toPosition = col(s.line(), 3);
             });
         }},
        {"[SpeedLimit]", "[SpeedLimit]", [&](SectionCursor& c) {
             readRows(c, r.speedLimitTable, kRouteRows, [](SectionCursor& s, SpeedLimitRow& x) {
                 x.limit = col(s.line(), 1);
                 x.noticePosition = col(s.line(), 2);
                 x.fromPosition = col(s.line(), 3);
                 x.toPosition = col(s.line(), 4);
             });
         }},
        {"[SpeedCheck]", "[SpeedCheck]", [&](SectionCursor& c) {
             readRows(c, r.speedCheckTable, kRouteRows, [](SectionCursor& s, SpeedCheckRow& x) {
                 x.limit = col(s.line(), 1);
                 x.position = col(s.line(), 2);
             });
         }},
        {"[SignImageList]", "[SignImageList]", [&](SectionCursor& c) {
             readList(c, kRouteRows, [&](SectionCursor& s, int) { appendPicture(r.SignImageList, s.line(), pictures); });
         }},
        {"[OtherImageList]", "[OtherImageList]", [&](SectionCursor& c) {
             r.otherSoundFiles.clear();
             readList(
                 c, kOtherImages,
                 [&](SectionCursor& s, int) {
                     appendPicture(r.OtherImageList, s.line(), pictures);
                     r.otherSoundFiles.push_back(s.readRaw());
                 },
                 false, 2);
         }},
        {"[SignalImageList]", "[SignalImageList]", [&](SectionCursor& c) {
             readList(c, kRouteRows, [&](SectionCursor& s, int) { appendPicture(r.SignalImageList, s.line(), pictures); });
         }},
        {"[SpeedUnit]", "[SpeedUnit]", [&](SectionCursor& c) {
             readRows(c, r.speedUnitTable, kRouteRows, [](SectionCursor& s, Speed_UnitData& x) {
                 x.fromPosition = col(s.line(), 1);
                 x.toPosition = col(s.line(), 2);
                 x.fromSpeed = col(s.line(), 3);
                 x.toSpeed = col(s.line(), 4);
             });
         }},
        // Tested last so that no earlier section's reading changes with it.
        {"[Letterbox]", "", [&](SectionCursor& c) {
             r.letterbox = c.readInt();
             if (r.letterbox < 0 || r.letterbox > 1) throw FormatError{};
         }},
        {"[EndPos]", "", [&](SectionCursor& c) {
             // A single value: its errors name "other", not the list read before it.
             c.label = "other";
             const int32_t end = c.readInt();
             // As the train file's checks, against [StartPos] when it stands earlier in the file.
             if (end < 0 || end < r.startPosition)
                 throw FormatError::refused("the end of the line must not be negative nor before [StartPos] (" +
                                            std::to_string(r.startPosition) + ")");
             r.endPosition = end;
             r.hasEndPosition = true;
         }},
    };

    SectionCursor cursor(*file);
    cursor.fileName = fileName;
    cursor.message = message;
    cursor.diagnostics = diagnostics;
    try {
        readSections(cursor, rules, "other");
        if (spans) *spans = cursor.spans;
    } catch (const FormatError& e) {
        const Diagnostic d = cursor.describe(e);
        fatal(boxes, d.message, detailsText(d));
    }
}

std::string readLineName(const std::string& path) {
    auto bytes = readFilePrefix(path, kLineNamePrefix);
    if (!bytes) return {};
    // Whole lines only: a character cut at the end would make UTF-8 look like Shift-JIS.
    if (bytes->size() == kLineNamePrefix) {
        const size_t lastLf = bytes->rfind('\n');
        bytes->resize(lastLf == std::string::npos ? 0 : lastLf + 1);
    }
    const TextFile file = textFromBytes(*bytes);
    for (size_t i = 0; i + 1 < file.lines.size(); ++i)
        if (startsWithMarker(file.lines[i], "[LineName]")) return file.encoding.decode(file.lines[i + 1]);
    return {};
}

}  // namespace ts
