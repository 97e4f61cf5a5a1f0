#include "data/section_fields.h"

#include <initializer_list>
#include <map>
#include <vector>

#include "data/route_sections.h"

namespace ts {

namespace {

struct Fields {
    std::vector<std::string> values;   // lines after the marker (single values, or x and y of a picture list)
    std::vector<std::string> entries;  // columns or lines of one list entry
    bool commaRows = false;
};

const std::map<std::string, Fields, std::less<>>& table() {
    static const std::map<std::string, Fields, std::less<>> t = [] {
        std::map<std::string, Fields, std::less<>> m;
        auto value = [&](const char* marker, std::initializer_list<const char*> names) {
            for (const char* n : names) m[marker].values.emplace_back(n);
        };
        auto lines = [&](const char* marker, std::initializer_list<const char*> names) {
            for (const char* n : names) m[marker].entries.emplace_back(n);
        };
        // Route file, from its sections' description
        for (const SectionDesc& s : routeSections()) {
            Fields& f = m[s.marker];
            for (const ColumnDesc& c : s.columns) (s.isList() ? f.entries : f.values).push_back(c.name);
            f.commaRows = s.commaRows;
        }
        // Train file
        for (auto [marker, name] :
             std::initializer_list<std::pair<const char*, const char*>>{{"[Handle]", "handleType"},
                                                                        {"[BrakeType]", "brakeType"},
                                                                        {"[Brake]", "brakeNotchCount"},
                                                                        {"[Power]", "powerNotchCount"},
                                                                        {"[Hold]", "holdPositionEnabled"},
                                                                        {"[BrakeRate]", "brakeRate"},
                                                                        {"[PowerDelay]", "powerDelay"},
                                                                        {"[BrakeDelay]", "brakeDelay"},
                                                                        {"[BrakeUp]", "brakeUp"},
                                                                        {"[BrakeDown]", "brakeDown"},
                                                                        {"[EBPress]", "ebPressure"},
                                                                        {"[HighAirPress]", "highAirPressure"},
                                                                        {"[LowAirPress]", "lowAirPressure"},
                                                                        {"[Curr1]", "curr1"},
                                                                        {"[Curr2]", "curr2"},
                                                                        {"[Engine_Type]", "engineType"},
                                                                        {"[DoorType]", "doorType"},
                                                                        {"[Mt]", "mt"},
                                                                        {"[Tt]", "tt"},
                                                                        {"[Cars]", "carCount"},
                                                                        {"[Tons]", "trainTons"},
                                                                        {"[EB]", "ebSetting"},
                                                                        {"[MaxSpeed]", "maxSpeed"},
                                                                        {"[Lose_elec]", "loseElec"},
                                                                        {"[Mc]", "mc"},
                                                                        {"[ATS_Type]", "atsType"},
                                                                        {"[ATS_Alert]", "atsAlert"},
                                                                        {"[ATS_Time]", "atsTime"},
                                                                        {"[ATS_Cnt]", "atsCnt"},
                                                                        {"[Sound_br1]", "soundBr1"},
                                                                        {"[Sound_br2]", "soundBr2"},
                                                                        {"[Sound_EB]", "soundEB"},
                                                                        {"[Sound_Ats1]", "soundAts1"},
                                                                        {"[Sound_Ats2]", "soundAts2"},
                                                                        {"[Sound_Atc]", "soundAtc"},
                                                                        {"[Sound_Horn]", "soundHorn"},
                                                                        {"[Sound_Horn2]", "soundHorn2"},
                                                                        {"[Sound_DoorOpen]", "soundDoorOpen"},
                                                                        {"[Sound_DoorClose]", "soundDoorClose"},
                                                                        {"[Sound_EBring]", "soundEBring"},
                                                                        {"[Sound_squeak]", "soundSqueak"},
                                                                        {"[CP_Start]", "soundCpStart"},
                                                                        {"[CP_Cnt]", "soundCpCnt"},
                                                                        {"[CP_End]", "soundCpEnd"},
                                                                        {"[Stop]", "soundStop"}})
            value(marker, {name});
        value("[EngineSound]", {"engineSound1", "engineSound2", "engineSound3"});
        lines("[Notch]", {"startAccel", "baseAccel", "baseSpeed", "fadeSpeed", "fadeFactor"});
        lines("[Engine]", {"lowSpeed", "midSpeed", "highSpeed", "lowAccel", "midAccel", "highAccel"});
        lines("[MotorSound]",
              {"fileName", "condition", "speedFrom", "speedTo", "pitchFrom", "pitchTo", "levelFrom", "levelTo"});
        lines("[DriveSound]", {"fileName"});
        value("[Clock]", {"clockX", "clockY", "clockHandLength"});
        for (const char* lamp : {"[Panel]", "[Panel2]", "[Lamp_Door]", "[Lamp_Power]", "[Lamp_EB]", "[Lamp_Gen]",
                                 "[Lamp_Air]", "[Lamp_Ele]", "[Lamp_Ats]", "[Lamp_G]", "[Lamp_YG]", "[Lamp_Y]",
                                 "[Lamp_YY]", "[Lamp_R]", "[Lamp_Fwd]", "[Lamp_Back]"})
            value(lamp, {"fileName", "x", "y"});
        for (const char* needle : {"[Needle_Speed]", "[Needle_BC]", "[Needle_SAP]", "[Needle_ER]", "[Needle_BP]",
                                   "[Needle_MR]", "[Needle_V]", "[Needle_I]"})
            value(needle, {"fileName", "x", "y", "width", "height", "zeroAngle", "anglePerUnit"});
        value("[NotchImageP]", {"notchImagePX", "notchImagePY"});
        value("[NotchImageB]", {"notchImageBX", "notchImageBY"});
        value("[GearImageList]", {"gearImageX", "gearImageY"});
        for (const char* list : {"[NotchImageP]", "[NotchImageB]", "[GearImageList]"}) lines(list, {"fileName"});
        lines("[Others]", {"fileName", "x", "y"});
        return m;
    }();
    return t;
}

}  // namespace

std::string sectionFieldName(std::string_view section, int row, int index) {
    const auto it = table().find(section);
    if (it == table().end() || index < 1) return {};
    const auto& names = row > 0 ? it->second.entries : it->second.values;
    return size_t(index) <= names.size() ? names[size_t(index - 1)] : std::string();
}

bool isCommaRowList(std::string_view section) {
    const auto it = table().find(section);
    return it != table().end() && it->second.commaRows;
}

}  // namespace ts
