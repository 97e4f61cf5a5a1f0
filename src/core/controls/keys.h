// Keys as the key-down handler knows them, independent of any toolkit.
#pragma once

namespace ts {

enum class Key { Other, ScrollLock, Enter, F1, F2, F3, F4, F5, F6, F7, F8, F9, F10, F11, F12 };

struct ShiftState {
    bool shift = false, ctrl = false, alt = false, mouseButton = false;
    // Exactly Shift: no Ctrl, Alt or mouse button with it.
    bool onlyShift() const { return shift && !ctrl && !alt && !mouseButton; }
};

// The windows that keys show and hide.
enum class AuxWindow { Help, ValueDisplay };

}  // namespace ts
