#include "panel_builder.h"
#include "panel_names.h"

#include "data/diagnostics.h"
#include "data/file_names.h"
#include "data/text_codec.h"

namespace ts {

namespace {

PanelItem slot(ComponentName name, int left, int top, int w, int h, ImageSource source) {
    PanelItem i;
    i.name = name;
    i.kind = PanelItem::Kind::Slot;
    i.left = left;
    i.top = top;
    i.width = w;
    i.height = h;
    i.source = source;
    i.transparent = true;
    return i;
}

class Builder {
public:
    Builder(PanelModel& p, PictureLoader& pictures, MessageBoxes& boxes, const MissingPanelPicture& missing)
        : p_(p), pictures_(pictures), boxes_(boxes), missing_(missing) {}

    // Which section names the pictures loaded next.
    std::string_view section;
    int row = 0;

    // A picture sized from its file; an empty name gives an item without picture.
    PanelItem& picture(const std::string& name, const std::string& file, int x, int y, bool transparent, bool visible) {
        PanelItem i;
        i.name = name;
        i.left = x;
        i.top = y;
        i.transparent = transparent;
        i.visible = visible;
        if (!file.empty()) i.picture = load(file);
        if (i.picture) {
            const PictureSize s = pictures_.size(*i.picture);
            i.width = s.width;
            i.height = s.height;
        }
        p_.items.push_back(i);
        return p_.items.back();
    }

    std::optional<int> load(const std::string& file) {
        auto id = pictures_.load(resolveDataPath(file));
        if (!id) {
            const std::string shown = isValidUtf8(file) ? file : cp932ToUtf8(file);
            const std::string why =
                "the picture \"" + shown + "\" cannot be loaded: the file is missing or not a picture";
            if (missing_) {
                missing_(section, row, shown + "が見つかりません", why);
                return std::nullopt;
            }
            Diagnostic d;
            d.section = std::string(section);
            d.row = row;
            d.fieldName = section == "[Staf]" ? "staffImageFile" : "fileName";
            d.explanation = why;
            fatal(boxes_, shown + "が見つかりません", placeText(d) + "\n" + why);
        }
        return id;
    }

    PanelModel& p_;
    PictureLoader& pictures_;
    MessageBoxes& boxes_;
    const MissingPanelPicture& missing_;
};

}  // namespace

void addWindowPictures(PanelModel& p) {
    p.items.push_back(slot(cn::SignalImage, 500, 10, 50, 100, ImageSource::Signal));
    p.items.push_back(slot(cn::stop, 564, 10, 50, 50, ImageSource::Sign));
    p.items.push_back(slot(cn::SpeedLimitImage, 500, 152, 50, 50, ImageSource::Sign));
    p.items.push_back(slot(cn::SlopeImage, 564, 152, 50, 50, ImageSource::Sign));
    p.items.push_back(slot(cn::OtherImage, 500, 248, 100, 50, ImageSource::Other));
    PanelItem stopline;
    stopline.name = cn::stopline;
    stopline.left = 480;
    stopline.top = 0;
    stopline.width = 15;
    stopline.height = 3;
    p.items.push_back(stopline);
}

void addCabPanel(PanelModel& p, const TrainData& t, const RouteData& route, PictureLoader& pictures,
                 MessageBoxes& boxes, const MissingPanelPicture& missing) {
    Builder b(p, pictures, boxes, missing);
    auto lamp = [&](PanelLamp which, ComponentName name, bool transparent, bool visible) {
        const Lamp& l = t.panelLamps[size_t(which)];
        b.section = kPanelLampMarkers[which];
        b.picture(name, l.fileName, l.x, l.y, transparent, visible);
    };
    lamp(kPanel, cn::Panel, false, true);
    lamp(kPanel2, cn::Panel2, false, false);

    PanelItem clock;
    clock.name = cn::clock;
    clock.kind = PanelItem::Kind::Clock;
    clock.left = t.clockX - 25;
    clock.top = t.clockY - 25;
    clock.width = clock.height = 50;
    clock.transparent = true;
    clock.visible = t.clockX > 0 && t.clockY > 0;
    p.items.push_back(clock);

    lamp(kLampDoor, cn::Lamp_Door, false, true);
    lamp(kLampPower, cn::Lamp_Power, false, true);
    lamp(kLampEB, cn::Lamp_EB, false, true);
    lamp(kLampGen, cn::Lamp_Gen, false, true);
    lamp(kLampAir, cn::Lamp_Air, false, true);
    lamp(kLampEle, cn::Lamp_Ele, false, true);
    lamp(kLampAts, cn::Lamp_Ats, false, false);
    lamp(kLampG, cn::Lamp_G, true, false);
    lamp(kLampYG, cn::Lamp_YG, true, false);
    lamp(kLampY, cn::Lamp_Y, true, false);
    lamp(kLampYY, cn::Lamp_YY, true, false);
    lamp(kLampR, cn::Lamp_R, true, false);
    lamp(kLampFwd, cn::Lamp_Fwd, true, false);
    lamp(kLampBck, cn::Lamp_Bck, true, false);

    p.items.push_back(slot(cn::Lamp_P, t.notchImagePX, t.notchImagePY, t.NotchImageP.width, t.NotchImageP.height,
                           ImageSource::NotchP));
    p.items.push_back(slot(cn::Lamp_B, t.notchImageBX, t.notchImageBY, t.NotchImageB.width, t.NotchImageB.height,
                           ImageSource::NotchB));
    p.items.push_back(slot(cn::Lamp_Gear, t.gearImageX, t.gearImageY, t.GearImageList.width, t.GearImageList.height,
                           ImageSource::Gear));

    static const ComponentName kNeedleNames[kNeedleCount] = {cn::Needle_Speed, cn::Needle_BC, cn::Needle_SAP,
                                                             cn::Needle_ER,    cn::Needle_BP, cn::Needle_MR,
                                                             cn::Needle_V,     cn::Needle_I};
    for (int n = 0; n < kNeedleCount; ++n) {
        const Meter& m = t.needles[size_t(n)];
        PanelItem i;
        i.name = kNeedleNames[n];
        i.kind = PanelItem::Kind::Needle;
        i.left = m.x;
        i.top = m.y;
        i.width = m.width;
        i.height = m.height;
        i.transparent = true;
        b.section = kNeedleMarkers[n];
        if (!m.fileName.empty()) i.picture = b.load(m.fileName);
        p.items.push_back(i);
    }

    b.section = "[Others]";
    for (const Lamp& l : t.otherPanelTable) {
        ++b.row;
        b.picture("", l.fileName, l.x, l.y, true, false);
    }
    b.section = "[Staf]";
    b.row = 0;
    b.picture(cn::staffImage, route.staffImageFile, 640, 0, false, true);
}

}  // namespace ts
