// The component names of the driving window and the value display, in one
// table. Everything that addresses a picture, label or menu item goes through
// these constants, so a misspelt name does not compile.
#pragma once
#include <string>

namespace ts {

struct ComponentName {
    const char* text;
    operator std::string() const { return text; }
    bool operator==(const std::string& s) const { return s == text; }
};

// clang-format cannot settle on one layout for these lists.
// clang-format off
#define TS_DRIVING_WINDOW_NAMES(X)                                                                            \
    X(Panel) X(Panel2) X(clock) X(Lamp_Door) X(Lamp_Power) X(Lamp_EB) X(Lamp_Gen) X(Lamp_Air) X(Lamp_Ele)     \
    X(Lamp_Ats) X(Lamp_G) X(Lamp_YG) X(Lamp_Y) X(Lamp_YY) X(Lamp_R) X(Lamp_Fwd) X(Lamp_Bck) X(Lamp_P)         \
    X(Lamp_B) X(Lamp_Gear) X(Needle_Speed) X(Needle_BC) X(Needle_SAP) X(Needle_ER) X(Needle_BP) X(Needle_MR)  \
    X(Needle_V) X(Needle_I) X(SignalImage) X(stop) X(SpeedLimitImage) X(SlopeImage) X(OtherImage) X(stopline) \
    X(staffImage) X(Label1) X(Label3) X(Label4) X(PowerLabel) X(BrakeLabel) X(CarsLabel) X(digi_speed)        \
    X(SignalLabel) X(SlopeText) X(start1) X(GoTo1) X(Show1) X(menu_d1) X(Controller1) X(COM11) X(COM21)       \
    X(Setup1) X(Connect1)

#define TS_VALUE_DISPLAY_NAMES(X)                                                                           \
    X(Label1) X(Label2) X(Label3) X(Label4) X(Label5) X(Label6) X(Label7) X(Label8) X(Label9) X(Label20)    \
    X(Label23) X(Label25) X(Label27) X(Label30) X(Label31) X(Label33) X(ProgressBar1) X(ProgressBar2)       \
    X(ProgressBar3)
// clang-format on

#define TS_COMPONENT_NAME(n) inline constexpr ComponentName n{#n};
// The driving window (TForm1).
namespace cn {
TS_DRIVING_WINDOW_NAMES(TS_COMPONENT_NAME)
}
// The value-display window (TForm3).
namespace vd {
TS_VALUE_DISPLAY_NAMES(TS_COMPONENT_NAME)
}
#undef TS_COMPONENT_NAME

}  // namespace ts
