#include "script_input.h"

#include "driving_window.h"

namespace ts {

namespace {

Key scriptKey(const std::string& name) {
    if (name == "Enter") return Key::Enter;
    if (name == "ScrollLock") return Key::ScrollLock;
    return Key(int(Key::F1) + std::stoi(name.substr(1)) - 1);
}

std::string charMeaning(char c, HandleType handleType) {
    const bool oneHandle = handleType == HandleType::Combined;
    switch (c) {
        case 'f': return "reverser forward";
        case 'b': return "reverser back";
        case 'n': return "reverser neutral";
        case 'z': return "power up";
        case 'a': return oneHandle ? "toward brake" : "power down";
        case 'q': return "emergency brake";
        case ',': return "brake release";
        case '.': return "brake apply";
        case '/': return "emergency brake";
        case '8': return "power up";
        case '2': return "toward brake";
        case '5': return "all to neutral";
        case '0': return "emergency brake";
        case '6': return "whistle";
        case '3': return "horn";
        case 'd':
        case '7': return "doors";
        case 'r': return "reset protection";
        case ' ': return "confirm";
        default: return "";
    }
}

}  // namespace

void applyScriptInput(TForm1& form, const ScriptCommand& c) {
    using K = ScriptCommand::Kind;
    switch (c.kind) {
        case K::Start: form.start1Click(); break;
        case K::Close: form.backClick(); break;
        case K::Jump: form.stationClick(c.amount); break;
        case K::GoTo: form.jumpToFrame(c.amount); break;
        case K::Char: form.asciiDown(c.text[0]); break;
        case K::Wheel: form.wheel(c.amount); break;
        case K::Serial: form.rxChar(c.text); break;
        case K::PadConnect: form.padConnect(c.text, {}, true); break;
        case K::PadDisconnect: form.padDisconnect(); break;
        case K::PadAxis: form.padAxis(c.amount, c.value); break;
        case K::PadButton: form.padButton(c.amount, c.value != 0); break;
        case K::Device: form.deviceInput(c.text, c.arguments); break;
        case K::Key: {
            ShiftState s;
            s.shift = c.shift;
            s.ctrl = c.ctrl;
            s.alt = c.alt;
            s.mouseButton = c.mouse;
            form.keyDown(scriptKey(c.text), s);
            break;
        }
        default: break;
    }
}

std::string describeInput(const ScriptCommand& c, HandleType handleType) {
    using K = ScriptCommand::Kind;
    switch (c.kind) {
        case K::Start: return "Start / pause";
        case K::Close: return "close";
        case K::Jump: return "jump to station " + std::to_string(c.amount);
        case K::GoTo: return "stand at frame " + std::to_string(c.amount);
        case K::PadConnect: return "game controller connected";
        case K::PadDisconnect: return "game controller disconnected";
        case K::PadAxis: return "controller axis " + std::to_string(c.amount) + " at " + std::to_string(c.value);
        case K::PadButton: return "controller button " + std::to_string(c.amount) + (c.value ? " down" : " up");
        case K::Device: return c.arguments.empty() ? c.text : c.text + " " + c.arguments;
        case K::Char: {
            const std::string name = c.text == " " ? "space" : c.text;
            const std::string meaning = charMeaning(c.text[0], handleType);
            return meaning.empty() ? name : name + " — " + meaning;
        }
        case K::Key: {
            std::string name = c.text;
            if (c.shift) name = "Shift+" + name;
            return name;
        }
        // The wheel turned toward the driver (down) moves the handle toward power.
        case K::Wheel: return c.amount > 0 ? "wheel up — toward brake" : "wheel down — power up";
        case K::Serial: {
            std::string shown;
            for (unsigned char ch : c.text) shown += ch >= 0x20 && ch < 0x7F ? char(ch) : '?';
            return "controller " + shown;
        }
        default: return "";
    }
}

}  // namespace ts
