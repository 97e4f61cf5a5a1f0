#include "data/train_sections.h"

#include <limits>
#include <type_traits>

namespace ts {

namespace {

using V = ValueType;

constexpr const char* kPanelLabel = "- 運転台パネル";

// Panel positions and sizes are pixels of a window; beyond this they are a
// typing error, and they would overflow the toolkit's rectangle arithmetic.
constexpr int64_t kMaxPanelPixels = 10000;
constexpr int64_t kMinTrainTons = 10000;  // 1 t in fixed point

template <class T>
Cell cellOf(const T& v) {
    Cell c;
    if constexpr (std::is_same_v<T, std::string>)
        c.text = v;
    else if constexpr (std::is_floating_point_v<T>)
        c.real = v;
    else
        c.number = int64_t(v);
    return c;
}

template <class T>
void assign(T& to, const Cell& c) {
    if constexpr (std::is_same_v<T, std::string>)
        to = c.text;
    else if constexpr (std::is_floating_point_v<T>)
        to = T(c.real);
    else
        to = T(c.number);
}

// A value of the train kept where `at` finds it; `at` takes a train, const or not.
template <class At>
TrainColumn value(const char* name, V type, const char* unit, const char* meaning, std::string stored, At at) {
    TrainColumn c;
    c.name = name;
    c.type = type;
    c.unit = unit;
    c.meaning = meaning;
    c.stored = std::move(stored);
    c.get = [at](const TrainData& t, size_t) -> std::optional<Cell> { return cellOf(at(t)); };
    c.set = [at](TrainData& t, size_t, const Cell& v) { assign(at(t), v); };
    return c;
}

// A field of entry `row` of a list; `rowAt` takes a train, const or not.
template <class At, class Row, class T>
TrainColumn field(const char* name, V type, const char* unit, const char* meaning, const std::string& table, At rowAt,
                  T Row::*member) {
    TrainColumn c;
    c.name = name;
    c.type = type;
    c.unit = unit;
    c.meaning = meaning;
    c.stored = table + "[i]." + name;
    c.get = [rowAt, member](const TrainData& t, size_t row) -> std::optional<Cell> {
        return cellOf(rowAt(t, row).*member);
    };
    c.set = [rowAt, member](TrainData& t, size_t row, const Cell& v) { assign(rowAt(t, row).*member, v); };
    return c;
}

TrainColumn ranged(TrainColumn c, int64_t low, int64_t high, std::string refusal, bool kept = false) {
    c.range = std::make_pair(low, high);
    c.refusal = std::move(refusal);
    c.keptWhenRefused = kept;
    return c;
}

TrainColumn coordinate(TrainColumn c) {
    return ranged(std::move(c), -kMaxPanelPixels, kMaxPanelPixels,
                  "a panel position must lie within " + std::to_string(kMaxPanelPixels) + " pixels either way");
}

TrainColumn size(TrainColumn c) {
    return ranged(std::move(c), 0, kMaxPanelPixels,
                  "a panel size must be from 0 to " + std::to_string(kMaxPanelPixels) + " pixels");
}

TrainSection single(const char* marker, std::vector<TrainColumn> columns) {
    TrainSection s;
    s.marker = marker;
    s.columns = std::move(columns);
    return s;
}

TrainSection list(const char* marker, int capacity, int entryLines, const char* stored) {
    TrainSection s;
    s.marker = marker;
    s.kind = SectionKind::FreeList;
    s.label = marker;
    s.capacity = capacity;
    s.entryLines = entryLines;
    s.stored = stored;
    return s;
}

// A list kept as a vector of entries.
template <class Row>
void listOf(TrainSection& s, std::vector<Row> TrainData::*table) {
    s.rows = [table](const TrainData& t) { return (t.*table).size(); };
    s.clearRows = [table](TrainData& t) { (t.*table).clear(); };
    s.addRow = [table](TrainData& t) { (t.*table).emplace_back(); };
}

#define TS_VALUE(member) \
    [](auto& t) -> auto& { return t.member; }

void describeValues(std::vector<TrainSection>& d) {
    auto integer = [&](const char* marker, const char* name, const char* unit, const char* meaning, auto at,
                       const char* stored = nullptr) {
        d.push_back(single(marker, {value(name, V::Integer, unit, meaning, stored ? stored : name, at)}));
    };
    auto fixed = [&](const char* marker, const char* name, const char* unit, const char* meaning, auto at) {
        d.push_back(single(marker, {value(name, V::Fixed, unit, meaning, name, at)}));
    };
    integer("[Handle]", "handleType", "", "0 one handle, 1 power and brake handles", TS_VALUE(handleType));
    integer("[BrakeType]", "brakeType", "", "0 automatic air brake, else notched", TS_VALUE(brakeType));
    // Named as a run names it; the run's count may differ (4 for an automatic air brake).
    integer("[Brake]", "brakeNotchCount", "", "brake positions below 0, the last one emergency",
            TS_VALUE(brakeNotchCountInFile), "brakeNotchCountInFile");
    integer("[Power]", "powerNotchCount", "", "the highest power notch", TS_VALUE(powerNotchCount));
    integer("[Hold]", "holdPositionEnabled", "", "1: the brake handle has a hold position",
            TS_VALUE(holdPositionEnabled));
    fixed("[BrakeRate]", "brakeRate", "km/h/s", "deceleration at the emergency pressure", TS_VALUE(brakeRate));
    integer("[PowerDelay]", "powerDelay", "1/30 s", "until a new power notch takes effect", TS_VALUE(powerDelay));
    integer("[BrakeDelay]", "brakeDelay", "1/30 s", "until a new brake position takes effect", TS_VALUE(brakeDelay));
    integer("[BrakeUp]", "brakeUp", "", "the air brake's rise rate", TS_VALUE(brakeUp));
    integer("[BrakeDown]", "brakeDown", "", "the air brake's release rate", TS_VALUE(brakeDown));
    integer("[EBPress]", "ebPressure", "kPa", "brake cylinder pressure at emergency", TS_VALUE(ebPressure));
    integer("[HighAirPress]", "highAirPressure", "kPa", "main reservoir's upper pressure", TS_VALUE(highAirPressure));
    integer("[LowAirPress]", "lowAirPressure", "kPa", "main reservoir's lower pressure", TS_VALUE(lowAirPressure));
    integer("[Curr1]", "curr1", "", "kept, unused", TS_VALUE(curr1));
    integer("[Curr2]", "curr2", "", "kept, unused", TS_VALUE(curr2));
    integer("[Engine_Type]", "engineType", "", "0 diesel ([Engine]), 1 electric ([Notch])", TS_VALUE(engineType));
    integer("[DoorType]", "doorType", "", "kept, unused", TS_VALUE(doorType));
    fixed("[Mt]", "mt", "", "adhesion and panel factor", TS_VALUE(mt));
    fixed("[Tt]", "tt", "", "kept, unused", TS_VALUE(tt));
    // Kept when refused: the checker's later rules see the number as written.
    d.push_back(
        single("[Cars]", {ranged(value("carCount", V::Integer, "", "number of cars", "carCount", TS_VALUE(carCount)), 1,
                                 kMaxCars, "the number of cars must be from 1 to " + std::to_string(kMaxCars), true)}));
    d.push_back(single(
        "[Tons]",
        {ranged(value("trainTons", V::Fixed, "t", "the train's mass", "trainTons", TS_VALUE(trainTons)), kMinTrainTons,
                std::numeric_limits<int64_t>::max(), "the train's mass must be at least 1 tonne", true)}));
    integer("[EB]", "ebSetting", "", "1: the vigilance device is on", TS_VALUE(ebSettingInFile), "ebSettingInFile");
    integer("[MaxSpeed]", "maxSpeed", "km/h", "maximum speed", TS_VALUE(maxSpeed));
    integer("[Lose_elec]", "loseElec", "", "traction and panel factor", TS_VALUE(loseElec));
    integer("[Mc]", "mc", "", "0 or 1, a traction switch", TS_VALUE(mc));
    integer("[ATS_Type]", "atsType", "", "the train protection's type", TS_VALUE(atsType));
    integer("[ATS_Alert]", "atsAlert", "", "train protection", TS_VALUE(atsAlert));
    integer("[ATS_Time]", "atsTime", "", "train protection", TS_VALUE(atsTime));
    integer("[ATS_Cnt]", "atsCnt", "", "train protection", TS_VALUE(atsCnt));
    integer("[Sound_br1]", "soundBr1", "channel", "brake sound 1", TS_VALUE(soundBr1));
    integer("[Sound_br2]", "soundBr2", "channel", "brake sound 2", TS_VALUE(soundBr2));
    integer("[Sound_EB]", "soundEB", "channel", "emergency brake", TS_VALUE(soundEB));
    integer("[Sound_Ats1]", "soundAts1", "channel", "train protection bell", TS_VALUE(soundAts1));
    integer("[Sound_Ats2]", "soundAts2", "channel", "train protection chime", TS_VALUE(soundAts2));
    integer("[Sound_Atc]", "soundAtc", "channel", "speed control", TS_VALUE(soundAtc));
    integer("[Sound_Horn]", "soundHorn", "channel", "horn", TS_VALUE(soundHorn));
    integer("[Sound_Horn2]", "soundHorn2", "channel", "whistle", TS_VALUE(soundHorn2));
    integer("[Sound_DoorOpen]", "soundDoorOpen", "channel", "doors opening", TS_VALUE(soundDoorOpen));
    integer("[Sound_DoorClose]", "soundDoorClose", "channel", "doors closing", TS_VALUE(soundDoorClose));
    integer("[Sound_EBring]", "soundEBring", "channel", "vigilance alarm", TS_VALUE(soundEBring));
    integer("[Sound_squeak]", "soundSqueak", "channel", "brake squeal", TS_VALUE(soundSqueak));
    integer("[CP_Start]", "soundCpStart", "channel", "compressor start", TS_VALUE(soundCpStart));
    integer("[CP_Cnt]", "soundCpCnt", "channel", "compressor running", TS_VALUE(soundCpCnt));
    integer("[CP_End]", "soundCpEnd", "channel", "compressor stop", TS_VALUE(soundCpEnd));
    integer("[Stop]", "soundStop", "channel", "played at the route's [StopSound] positions", TS_VALUE(soundStop));
    d.push_back(single(
        "[EngineSound]",
        {value("engineSound1", V::Integer, "channel", "engine sound 1", "engineSound1", TS_VALUE(engineSound1)),
         value("engineSound2", V::Integer, "channel", "engine sound 2", "engineSound2", TS_VALUE(engineSound2)),
         value("engineSound3", V::Integer, "channel", "engine sound 3", "engineSound3", TS_VALUE(engineSound3))}));
}

void describeTables(std::vector<TrainSection>& d) {
    {
        // Row n is power notch n: the table's entry 0 is never used.
        TrainSection s = list("[Notch]", kNotchRows, 5, "notchTable[1 + i]");
        auto at = [](auto& t, size_t row) -> auto& { return t.notchTable[row + 1]; };
        auto f = [&](const char* n, V type, const char* unit, const char* meaning, auto member) {
            return field(n, type, unit, meaning, "notchTable", at, member);
        };
        s.columns = {f("startAccel", V::Real, "km/h/s", "acceleration at 0 km/h", &NotchRow::startAccel),
                     f("baseAccel", V::Real, "km/h/s", "acceleration at baseSpeed", &NotchRow::baseAccel),
                     f("baseSpeed", V::Integer, "km/h", "end of the linear part", &NotchRow::baseSpeed),
                     f("fadeSpeed", V::Integer, "km/h", "end of the constant-power part", &NotchRow::fadeSpeed),
                     f("fadeFactor", V::Real, "", "factor per km/h above fadeSpeed", &NotchRow::fadeFactor)};
        for (TrainColumn& c : s.columns) c.stored = "notchTable[1 + i]." + c.name;
        s.entryInPlace = true;
        s.rows = [](const TrainData& t) { return size_t(t.notchRowCount); };
        s.setCount = [](TrainData& t, int count) { t.notchRowCount = count; };
        d.push_back(s);
    }
    {
        TrainSection s = list("[Engine]", kEngineRows, 6, "engineTable");
        auto at = [](auto& t, size_t row) -> auto& { return t.engineTable[row]; };
        auto f = [&](const char* n, V type, const char* unit, const char* meaning, auto member) {
            return field(n, type, unit, meaning, "engineTable", at, member);
        };
        s.columns = {f("lowSpeed", V::Integer, "km/h", "low speed", &EngineRow::lowSpeed),
                     f("midSpeed", V::Integer, "km/h", "middle speed", &EngineRow::midSpeed),
                     f("highSpeed", V::Integer, "km/h", "high speed", &EngineRow::highSpeed),
                     f("lowAccel", V::Real, "km/h/s", "acceleration at lowSpeed", &EngineRow::lowAccel),
                     f("midAccel", V::Real, "km/h/s", "acceleration at midSpeed", &EngineRow::midAccel),
                     f("highAccel", V::Real, "km/h/s", "acceleration at highSpeed", &EngineRow::highAccel)};
        listOf(s, &TrainData::engineTable);
        d.push_back(s);
    }
    {
        TrainSection s = list("[MotorSound]", kMotorSounds, 8, "motorSoundTable");
        auto at = [](auto& t, size_t row) -> auto& { return t.motorSoundTable[row]; };
        auto f = [&](const char* n, V type, const char* unit, const char* meaning, auto member) {
            return field(n, type, unit, meaning, "motorSoundTable", at, member);
        };
        s.columns = {f("fileName", V::FileName, "", "wave file", &MotorSoundData::fileName),
                     f("condition", V::Integer, "", "0 power, 1 brake, 2 always", &MotorSoundData::condition),
                     f("speedFrom", V::Real, "km/h", "the band's lower end", &MotorSoundData::speedFrom),
                     f("speedTo", V::Real, "km/h", "the band's upper end", &MotorSoundData::speedTo),
                     f("pitchFrom", V::Real, "", "frequency factor at speedFrom", &MotorSoundData::pitchFrom),
                     f("pitchTo", V::Real, "", "frequency factor at speedTo", &MotorSoundData::pitchTo),
                     f("levelFrom", V::Real, "", "level factor at speedFrom", &MotorSoundData::levelFrom),
                     f("levelTo", V::Real, "", "level factor at speedTo", &MotorSoundData::levelTo)};
        listOf(s, &TrainData::motorSoundTable);
        d.push_back(s);
    }
    {
        TrainSection s = list("[DriveSound]", kDriveSounds, 1, "driveSoundFiles");
        TrainColumn c;
        c.name = "fileName";
        c.type = V::FileName;
        c.meaning = "a wave file per line";
        c.stored = "driveSoundFiles[i]";
        c.get = [](const TrainData& t, size_t row) -> std::optional<Cell> { return cellOf(t.driveSoundFiles[row]); };
        c.set = [](TrainData& t, size_t row, const Cell& v) { t.driveSoundFiles[row] = v.text; };
        s.columns = {c};
        listOf(s, &TrainData::driveSoundFiles);
        d.push_back(s);
    }
}

void describePanel(std::vector<TrainSection>& d) {
    {
        TrainSection s =
            single("[Clock]",
                   {coordinate(value("clockX", V::Integer, "pixel", "the clock's centre", "clockX", TS_VALUE(clockX))),
                    coordinate(value("clockY", V::Integer, "pixel", "the clock's centre", "clockY", TS_VALUE(clockY))),
                    size(value("clockHandLength", V::Integer, "pixel", "hand length", "clockHandLength",
                               TS_VALUE(clockHandLength)))});
        s.label = "- アナログ時計";
        s.panel = true;
        d.push_back(s);
    }
    for (int i = 0; i < kPanelLampCount; ++i) {
        const std::string lamp = "panelLamps[" + std::to_string(i) + "]";
        auto at = [i](auto& t, size_t) -> auto& { return t.panelLamps[size_t(i)]; };
        TrainSection s =
            single(kPanelLampMarkers[i], {field("fileName", V::FileName, "", "picture", lamp, at, &Lamp::fileName),
                                          coordinate(field("x", V::Integer, "pixel", "left edge", lamp, at, &Lamp::x)),
                                          coordinate(field("y", V::Integer, "pixel", "top edge", lamp, at, &Lamp::y))});
        for (TrainColumn& c : s.columns) c.stored = lamp + "." + c.name;
        s.label = kPanelLabel;
        s.panel = true;
        d.push_back(s);
    }
    for (int i = 0; i < kNeedleCount; ++i) {
        const std::string needle = "needles[" + std::to_string(i) + "]";
        auto at = [i](auto& t, size_t) -> auto& { return t.needles[size_t(i)]; };
        auto f = [&](const char* n, V type, const char* unit, const char* meaning, auto member) {
            TrainColumn c = field(n, type, unit, meaning, needle, at, member);
            c.stored = needle + "." + n;
            return c;
        };
        TrainSection s = single(kNeedleMarkers[i],
                                {f("fileName", V::FileName, "", "picture of the needle", &Meter::fileName),
                                 coordinate(f("x", V::Integer, "pixel", "left edge", &Meter::x)),
                                 coordinate(f("y", V::Integer, "pixel", "top edge", &Meter::y)),
                                 size(f("width", V::Integer, "pixel", "the turning picture's width", &Meter::width)),
                                 size(f("height", V::Integer, "pixel", "its height", &Meter::height)),
                                 f("zeroAngle", V::Integer, "degree", "angle at 0", &Meter::zeroAngle),
                                 f("anglePerUnit", V::Real, "degree", "degrees per unit shown", &Meter::anglePerUnit)});
        // A needle whose section stops short is not drawn.
        s.whenRead = [i](TrainData& t) { t.needlePresent[size_t(i)] = true; };
        s.label = kNeedleLabels[i];
        s.panel = true;
        d.push_back(s);
    }
    auto pictureList = [&](const char* marker, const char* x, const char* y, const char* stored, auto atX, auto atY,
                           ImageList TrainData::*images) {
        TrainSection s = list(marker, 501, 1, stored);
        s.head = {coordinate(value(x, V::Integer, "pixel", "left edge", x, atX)),
                  coordinate(value(y, V::Integer, "pixel", "top edge", y, atY))};
        TrainColumn c;
        c.name = "fileName";
        c.type = V::Picture;
        c.meaning = "pictures of one size; another size empties the list first";
        c.stored = std::string(stored) + ".pictures[i]";
        s.columns = {c};
        s.pictures = [images](TrainData& t) -> ImageList& { return t.*images; };
        s.panel = true;
        d.push_back(s);
    };
    pictureList("[NotchImageP]", "notchImagePX", "notchImagePY", "NotchImageP", TS_VALUE(notchImagePX),
                TS_VALUE(notchImagePY), &TrainData::NotchImageP);
    pictureList("[NotchImageB]", "notchImageBX", "notchImageBY", "NotchImageB", TS_VALUE(notchImageBX),
                TS_VALUE(notchImageBY), &TrainData::NotchImageB);
    pictureList("[GearImageList]", "gearImageX", "gearImageY", "GearImageList", TS_VALUE(gearImageX),
                TS_VALUE(gearImageY), &TrainData::GearImageList);
    {
        TrainSection s = list("[Others]", kOtherPanelImages, 3, "otherPanelTable");
        auto at = [](auto& t, size_t row) -> auto& { return t.otherPanelTable[row]; };
        s.columns = {field("fileName", V::FileName, "", "picture", "otherPanelTable", at, &Lamp::fileName),
                     coordinate(field("x", V::Integer, "pixel", "left edge", "otherPanelTable", at, &Lamp::x)),
                     coordinate(field("y", V::Integer, "pixel", "top edge", "otherPanelTable", at, &Lamp::y))};
        listOf(s, &TrainData::otherPanelTable);
        s.panel = true;
        d.push_back(s);
    }
}

#undef TS_VALUE

// The trace's train fields in the trace's own order, which the golden traces
// hold: [Engine_Type] before the masses, [Mt] after [Tons].
void traceOrder(std::vector<TrainSection>& d) {
    const std::pair<const char*, const char*> traced[] = {{"[Handle]", "handleType"},
                                                          {"[BrakeType]", "brakeType"},
                                                          {"[Brake]", "brakeNotchCountInFile"},
                                                          {"[Power]", "powerNotchCount"},
                                                          {"[Hold]", "holdPositionEnabled"},
                                                          {"[BrakeRate]", "brakeRate"},
                                                          {"[Engine_Type]", "engineType"},
                                                          {"[Cars]", "carCount"},
                                                          {"[Tons]", "trainTons"},
                                                          {"[Mt]", "mt"},
                                                          {"[EB]", "ebSettingInFile"},
                                                          {"[MaxSpeed]", "maxSpeed"},
                                                          {"[ATS_Type]", "atsType"},
                                                          {"[Engine]", "engineCount"},
                                                          {"[MotorSound]", "motorSoundCount"},
                                                          {"[DriveSound]", "driveSoundCount"},
                                                          {"[Others]", "otherPanelCount"}};
    int order = 0;
    for (const auto& [marker, name] : traced) {
        for (TrainSection& s : d) {
            if (s.marker != marker) continue;
            s.traceName = name;
            s.traceOrder = ++order;
        }
    }
}

std::vector<TrainSection> describe() {
    std::vector<TrainSection> d;
    describeValues(d);
    describeTables(d);
    describePanel(d);
    traceOrder(d);
    return d;
}

std::string kindText(const TrainSection& s) {
    if (!s.isList()) {
        const size_t lines = s.columns.size();
        return lines == 1 ? "single value" : std::to_string(lines) + " lines";
    }
    std::string k = "list, at most " + std::to_string(s.capacity);
    if (s.entryLines > 1) k += ", " + std::to_string(s.entryLines) + " lines an entry";
    if (!s.head.empty()) k += ", after " + std::to_string(s.head.size()) + " lines";
    return k;
}

}  // namespace

const std::vector<TrainSection>& trainSections() {
    static const std::vector<TrainSection> sections = describe();
    return sections;
}

const std::vector<const TrainSection*>& trainSectionsInTraceOrder() {
    static const std::vector<const TrainSection*> traced = sectionsInOrder(trainSections(), &TrainSection::traceOrder);
    return traced;
}

const TrainSection* trainSection(std::string_view marker) { return sectionByMarker(trainSections(), marker); }

std::string trainSectionsMarkdown(bool panel) {
    std::string out = panel ? "| section | label | kind | values | kept in |\n|---|---|---|---|---|\n"
                            : "| section | kind | values | kept in |\n|---|---|---|---|\n";
    for (const TrainSection& s : trainSections()) {
        if (s.panel != panel) continue;
        std::string values;
        for (const auto* part : {&s.head, &s.columns})
            for (const TrainColumn& c : *part) values += (values.empty() ? "" : "; ") + columnMarkdown(c);
        std::string stored = s.stored;
        if (!s.isList()) {
            stored.clear();
            for (const TrainColumn& c : s.columns) stored += (stored.empty() ? "" : ", ") + c.stored;
        }
        out += "| `" + s.marker + "` | ";
        if (panel) out += (s.label.empty() ? std::string() : "\"" + s.label + "\"") + " | ";
        out += kindText(s) + " | " + values + " | `" + stored + "` |\n";
    }
    return out;
}

}  // namespace ts
