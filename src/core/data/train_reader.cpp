#include "data/train_reader.h"

#include "data/file_names.h"
#include "data/section_reader.h"

namespace ts {

namespace {

constexpr const char* kBasicLabel = "- 列車の基本設定";
constexpr int64_t kMinTrainTons = 10000;  // 1 t in fixed point

constexpr const char* kPanelLabel = "- 運転台パネル";

// Panel positions and sizes are pixels of a window; beyond this they are a
// typing error, and they would overflow the toolkit's rectangle arithmetic.
constexpr int32_t kMaxPanelPixels = 10000;

FormatError refused(const std::string& why) { return FormatError::refused(why); }

int32_t panelCoordinate(SectionCursor& c) {
    const int32_t v = c.readInt();
    if (v < -kMaxPanelPixels || v > kMaxPanelPixels)
        throw refused("a panel position must lie within " + std::to_string(kMaxPanelPixels) + " pixels either way");
    return v;
}

int32_t panelSize(SectionCursor& c) {
    const int32_t v = c.readInt();
    if (v < 0 || v > kMaxPanelPixels)
        throw refused("a panel size must be from 0 to " + std::to_string(kMaxPanelPixels) + " pixels");
    return v;
}

FormatError missingPicture(const std::string& shownName) {
    FormatError e = refused("the picture \"" + shownName + "\" cannot be loaded: the file is missing or not a picture");
    e.message = shownName + "が見つかりません";
    return e;
}

// A panel picture list: x, y, then picture files up to "#". Pictures of
// another size than the list's empty it first.
void readPictureList(SectionCursor& c, ImageList& list, int32_t& x, int32_t& y, PictureLoader& pictures) {
    x = panelCoordinate(c);
    y = panelCoordinate(c);
    readList(c, 501, [&](SectionCursor& s, int) {
        const std::string name = s.line();
        if (name.empty()) return;
        auto id = pictures.load(resolveDataPath(name));
        if (!id) throw missingPicture(s.decode(name));
        const PictureSize size = pictures.size(*id);
        if (size.width != list.width || size.height != list.height) {
            list.pictures.clear();
            list.width = size.width;
            list.height = size.height;
        }
        list.pictures.push_back(*id);
    });
}

}  // namespace

void readTrainFile(const std::string& path, TrainData& t, PictureLoader& pictures, MessageBoxes& boxes,
                   Diagnostics* diagnostics) {
    const std::string message = "車両ファイルに誤りがあります";
    FileRefusal refusal = FileRefusal::Missing;
    auto file = readTextFile(path, &refusal);
    if (!file) {
        if (recordUnreadable(diagnostics, path, message, refusal)) return;
        fatal(boxes, message, detailsText(unreadableFile(path, message, refusal)));
    }

    auto integer = [](int32_t& v) { return [&v](SectionCursor& c) { v = c.readInt(); }; };
    // A kind keeps the file's integer, named or not.
    auto kind = [](auto& v) {
        return [&v](SectionCursor& c) { v = std::remove_reference_t<decltype(v)>(c.readInt()); };
    };
    auto fixed = [](int64_t& v) { return [&v](SectionCursor& c) { v = c.readFixed(); }; };

    std::vector<SectionRule> rules{
        {"[Handle]", "", kind(t.handleType)},
        {"[BrakeType]", "", kind(t.brakeType)},
        {"[Brake]", "", integer(t.brakeNotchCountInFile)},
        {"[Power]", "", integer(t.powerNotchCount)},
        {"[Hold]", "", integer(t.holdPositionEnabled)},
        {"[BrakeRate]", "", fixed(t.brakeRate)},
        {"[PowerDelay]", "", integer(t.powerDelay)},
        {"[BrakeDelay]", "", integer(t.brakeDelay)},
        {"[BrakeUp]", "", integer(t.brakeUp)},
        {"[BrakeDown]", "", integer(t.brakeDown)},
        {"[EBPress]", "", integer(t.ebPressure)},
        {"[HighAirPress]", "", integer(t.highAirPressure)},
        {"[LowAirPress]", "", integer(t.lowAirPressure)},
        {"[Curr1]", "", integer(t.curr1)},
        {"[Curr2]", "", integer(t.curr2)},
        {"[Engine_Type]", "", kind(t.engineType)},
        {"[DoorType]", "", integer(t.doorType)},
        {"[Mt]", "", fixed(t.mt)},
        {"[Tt]", "", fixed(t.tt)},
        {"[Cars]", "",
         [&](SectionCursor& c) {
             t.carCount = c.readInt();
             // The gradient of every car is sampled into a table of 20.
             if (t.carCount < 1 || t.carCount > kMaxCars)
                 throw refused("the number of cars must be from 1 to " + std::to_string(kMaxCars));
         }},
        {"[Tons]", "",
         [&](SectionCursor& c) {
             // Below a tonne the acceleration per tick runs off every scale.
             t.trainTons = c.readFixed();
             if (t.trainTons < kMinTrainTons) throw refused("the train's mass must be at least 1 tonne");
         }},
        {"[EB]", "", integer(t.ebSettingInFile)},
        {"[MaxSpeed]", "", integer(t.maxSpeed)},
        {"[Lose_elec]", "", integer(t.loseElec)},
        {"[Mc]", "", integer(t.mc)},
        {"[ATS_Type]", "", kind(t.atsType)},
        {"[ATS_Alert]", "", integer(t.atsAlert)},
        {"[ATS_Time]", "", integer(t.atsTime)},
        {"[ATS_Cnt]", "", integer(t.atsCnt)},
        {"[Sound_br1]", "", integer(t.soundBr1)},
        {"[Sound_br2]", "", integer(t.soundBr2)},
        {"[Sound_EB]", "", integer(t.soundEB)},
        {"[Sound_Ats1]", "", integer(t.soundAts1)},
        {"[Sound_Ats2]", "", integer(t.soundAts2)},
        {"[Sound_Atc]", "", integer(t.soundAtc)},
        {"[Sound_Horn]", "", integer(t.soundHorn)},
        {"[Sound_Horn2]", "", integer(t.soundHorn2)},
        {"[Sound_DoorOpen]", "", integer(t.soundDoorOpen)},
        {"[Sound_DoorClose]", "", integer(t.soundDoorClose)},
        {"[Sound_EBring]", "", integer(t.soundEBring)},
        {"[Sound_squeak]", "", integer(t.soundSqueak)},
        {"[CP_Start]", "", integer(t.soundCpStart)},
        {"[CP_Cnt]", "", integer(t.soundCpCnt)},
        {"[CP_End]", "", integer(t.soundCpEnd)},
        {"[Stop]", "", integer(t.soundStop)},
        {"[EngineSound]", "",
         [&](SectionCursor& c) {
             t.engineSound1 = c.readInt();
             t.engineSound2 = c.readInt();
             t.engineSound3 = c.readInt();
         }},
        {"[Notch]", "[Notch]",
         [&](SectionCursor& c) {
             const int rows = readList(
                 c, kNotchRows,
                 [&](SectionCursor& s, int i) {
                     NotchRow& n = t.notchTable[size_t(i + 1)];
                     n.startAccel = double(toReal(s.line()));
                     n.baseAccel = double(s.readReal());
                     n.baseSpeed = s.readInt();
                     n.fadeSpeed = s.readInt();
                     n.fadeFactor = double(s.readReal());
                 },
                 false, 5);
             t.notchRowCount = rows;
             c.row = 0;
             if (t.engineType == EngineType::Diesel) {
                 FormatError e = refused(
                     "[Notch] is for electric trains, but [Engine_Type] is 0 (diesel) or stands "
                     "after [Notch]: set [Engine_Type] to 1 before [Notch], or use [Engine]");
                 e.message = "動力が気動車なのにNotch指定があります";
                 throw e;
             }
             if (rows != t.powerNotchCount) {
                 FormatError e = refused("[Notch] has " + std::to_string(rows) + " rows but [Power] is " +
                                         std::to_string(t.powerNotchCount) +
                                         " (or stands after [Notch]): there must be one row per power notch");
                 e.message = "Power指定とNotch指定が矛盾しています";
                 throw e;
             }
         }},
        {"[Engine]", "[Engine]",
         [&](SectionCursor& c) {
             t.engineTable.clear();
             readList(
                 c, kEngineRows,
                 [&](SectionCursor& s, int) {
                     EngineRow e;
                     e.lowSpeed = toInt(s.line());
                     e.midSpeed = s.readInt();
                     e.highSpeed = s.readInt();
                     e.lowAccel = double(s.readReal());
                     e.midAccel = double(s.readReal());
                     e.highAccel = double(s.readReal());
                     // The traction interpolates across both speed bands; an empty band has no slope.
                     if (e.lowSpeed == e.midSpeed || e.midSpeed == e.highSpeed)
                         throw refused("the three speeds of a gear must differ: lowSpeed, midSpeed and highSpeed");
                     t.engineTable.push_back(e);
                 },
                 false, 6);
             c.row = 0;
             if (t.engineType == EngineType::Electric) {
                 FormatError e = refused(
                     "[Engine] is for diesel railcars, but [Engine_Type] is 1 (electric): "
                     "use [Notch] for an electric train");
                 e.message = "動力が電車なのにEngine指定があります";
                 throw e;
             }
         }},
        {"[MotorSound]", "[MotorSound]",
         [&](SectionCursor& c) {
             t.motorSoundTable.clear();
             readList(
                 c, kMotorSounds,
                 [&](SectionCursor& s, int) {
                     MotorSoundData m;
                     m.fileName = s.line();
                     m.condition = s.readInt();
                     m.speedFrom = s.readReal();
                     m.speedTo = s.readReal();
                     m.pitchFrom = s.readReal();
                     m.pitchTo = s.readReal();
                     m.levelFrom = s.readReal();
                     m.levelTo = s.readReal();
                     t.motorSoundTable.push_back(m);
                 },
                 false, 8);
         }},
        {"[DriveSound]", "[DriveSound]",
         [&](SectionCursor& c) {
             t.driveSoundFiles.clear();
             readList(c, kDriveSounds, [&](SectionCursor& s, int) { t.driveSoundFiles.push_back(s.line()); });
         }},
        {"[Clock]", "- アナログ時計",
         [&](SectionCursor& c) {
             t.clockX = panelCoordinate(c);
             t.clockY = panelCoordinate(c);
             t.clockHandLength = panelSize(c);
         }},
    };
    for (int i = 0; i < kPanelLampCount; ++i) {
        rules.push_back({kPanelLampMarkers[i], kPanelLabel, [&t, i](SectionCursor& c) {
                             Lamp& l = t.panelLamps[size_t(i)];
                             l.fileName = c.readRaw();
                             l.x = panelCoordinate(c);
                             l.y = panelCoordinate(c);
                         }});
    }
    for (int i = 0; i < kNeedleCount; ++i) {
        rules.push_back({kNeedleMarkers[i], kNeedleLabels[i], [&t, i](SectionCursor& c) {
                             Meter& m = t.needles[size_t(i)];
                             m.fileName = c.readRaw();
                             m.x = panelCoordinate(c);
                             m.y = panelCoordinate(c);
                             m.width = panelSize(c);
                             m.height = panelSize(c);
                             m.zeroAngle = c.readInt();
                             m.anglePerUnit = c.readReal();
                             t.needlePresent[size_t(i)] = true;
                         }});
    }
    rules.push_back({"[NotchImageP]", "[NotchImageP]", [&](SectionCursor& c) {
                         readPictureList(c, t.NotchImageP, t.notchImagePX, t.notchImagePY, pictures);
                     }});
    rules.push_back({"[NotchImageB]", "[NotchImageB]", [&](SectionCursor& c) {
                         readPictureList(c, t.NotchImageB, t.notchImageBX, t.notchImageBY, pictures);
                     }});
    rules.push_back({"[GearImageList]", "[GearImageList]", [&](SectionCursor& c) {
                         readPictureList(c, t.GearImageList, t.gearImageX, t.gearImageY, pictures);
                     }});
    rules.push_back({"[Others]", "[Others]", [&](SectionCursor& c) {
                         t.otherPanelTable.clear();
                         readList(
                             c, kOtherPanelImages,
                             [&](SectionCursor& s, int) {
                                 Lamp l;
                                 l.fileName = s.line();
                                 l.x = panelCoordinate(s);
                                 l.y = panelCoordinate(s);
                                 t.otherPanelTable.push_back(l);
                             },
                             false, 3);
                     }});

    SectionCursor cursor(*file);
    cursor.fileName = baseName(path);
    cursor.message = message;
    cursor.diagnostics = diagnostics;
    try {
        readSections(cursor, rules, kBasicLabel);
    } catch (const FormatError& e) {
        const Diagnostic d = cursor.describe(e);
        fatal(boxes, d.message, detailsText(d));
    }
}

}  // namespace ts
