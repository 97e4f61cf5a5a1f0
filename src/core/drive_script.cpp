#include "drive_script.h"

#include <sstream>

#include "data/fields.h"
#include "data/text_file.h"

namespace ts {

bool isScriptKeyName(const std::string& name) {
    if (name == "Enter" || name == "ScrollLock") return true;
    if (name.size() >= 2 && name[0] == 'F') {
        auto n = parseInt(name.substr(1));
        return n && *n >= 1 && *n <= 12 && name[1] != ' ' && name[1] != '+' && name[1] != '-';
    }
    return false;
}

namespace {

// "pad axis N VALUE", "pad button N down|up", "pad connect [GUID]", "pad disconnect"
void parsePad(const std::vector<std::string>& words, int lineNo, ScriptCommand& c) {
    const std::string what = words.empty() ? std::string() : words[0];
    auto number = [&](const std::string& w, int lo, int hi, const char* name) {
        auto v = parseInt(w);
        if (!v || *v < lo || *v > hi) throw ScriptError(lineNo, std::string("bad ") + name + " '" + w + "'");
        return int(*v);
    };
    if (what == "axis" && words.size() == 3) {
        c.kind = ScriptCommand::Kind::PadAxis;
        c.amount = number(words[1], 0, 255, "axis number");
        c.value = number(words[2], -32768, 32767, "axis value");
    } else if (what == "button" && words.size() == 3) {
        c.kind = ScriptCommand::Kind::PadButton;
        c.amount = number(words[1], 0, 1023, "button number");
        if (words[2] != "down" && words[2] != "up") throw ScriptError(lineNo, "pad button takes 'down' or 'up'");
        c.value = words[2] == "down";
    } else if (what == "connect" && words.size() <= 2) {
        c.kind = ScriptCommand::Kind::PadConnect;
        if (words.size() == 2) c.text = words[1];
    } else if (what == "disconnect" && words.size() == 1) {
        c.kind = ScriptCommand::Kind::PadDisconnect;
    } else {
        throw ScriptError(lineNo, "pad takes 'axis N VALUE', 'button N down|up', 'connect [GUID]' or 'disconnect'");
    }
}

}  // namespace

std::vector<ScriptCommand> parseDriveScript(const std::string& text) {
    std::vector<ScriptCommand> out;
    const auto lines = splitLines(text);
    int64_t last = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        const int lineNo = int(i) + 1;
        const std::string& line = lines[i];
        const size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#') continue;
        if (line[first] != '@') throw ScriptError(lineNo, "expected '@MS COMMAND'");
        size_t p = first + 1;
        size_t sp = line.find_first_of(" \t", p);
        if (sp == std::string::npos) throw ScriptError(lineNo, "missing command");
        auto ms = parseInt(line.substr(p, sp - p));
        if (!ms || *ms < 0) throw ScriptError(lineNo, "bad time '" + line.substr(p, sp - p) + "'");
        if (*ms < last) throw ScriptError(lineNo, "time goes back from " + std::to_string(last));
        last = *ms;
        p = line.find_first_not_of(" \t", sp);
        if (p == std::string::npos) throw ScriptError(lineNo, "missing command");
        sp = line.find(' ', p);
        const std::string cmd = line.substr(p, sp == std::string::npos ? std::string::npos : sp - p);
        // For "serial" the text is the rest of the line after one blank, byte for byte.
        const std::string rest = sp == std::string::npos ? std::string() : line.substr(sp + 1);
        std::istringstream args(rest);
        std::vector<std::string> words;
        for (std::string w; args >> w;) words.push_back(w);

        ScriptCommand c;
        c.ms = *ms;
        c.line = lineNo;
        auto needWords = [&](size_t lo, size_t hi) {
            if (words.size() < lo || words.size() > hi) throw ScriptError(lineNo, "wrong arguments for '" + cmd + "'");
        };
        if (cmd == "start") {
            needWords(0, 0);
            c.kind = ScriptCommand::Kind::Start;
        } else if (cmd == "close") {
            needWords(0, 0);
            c.kind = ScriptCommand::Kind::Close;
        } else if (cmd == "char") {
            needWords(1, 1);
            c.kind = ScriptCommand::Kind::Char;
            if (words[0] == "space") c.text = " ";
            else if (words[0].size() == 1) c.text = words[0];
            else throw ScriptError(lineNo, "char takes one character or 'space'");
        } else if (cmd == "key") {
            needWords(1, 1);
            c.kind = ScriptCommand::Kind::Key;
            std::string name = words[0];
            for (;;) {
                if (name.rfind("shift+", 0) == 0) { c.shift = true; name = name.substr(6); }
                else if (name.rfind("ctrl+", 0) == 0) { c.ctrl = true; name = name.substr(5); }
                else if (name.rfind("alt+", 0) == 0) { c.alt = true; name = name.substr(4); }
                else break;
            }
            if (!isScriptKeyName(name)) throw ScriptError(lineNo, "unknown key '" + words[0] + "'");
            c.text = name;
        } else if (cmd == "wheel") {
            needWords(1, 2);
            c.kind = ScriptCommand::Kind::Wheel;
            if (words[0] != "up" && words[0] != "down") throw ScriptError(lineNo, "wheel takes 'up' or 'down'");
            int n = 1;
            if (words.size() == 2) {
                auto v = parseInt(words[1]);
                if (!v || *v < 1) throw ScriptError(lineNo, "bad wheel count");
                // Every notch is a separate event; more than a handle has steps many times over is a typing error.
                if (*v > kMaxWheelNotches)
                    throw ScriptError(lineNo, "wheel count above " + std::to_string(kMaxWheelNotches));
                n = *v;
            }
            c.amount = words[0] == "up" ? n : -n;
        } else if (cmd == "serial") {
            if (rest.empty()) throw ScriptError(lineNo, "serial takes a message");
            c.kind = ScriptCommand::Kind::Serial;
            c.text = rest;
        } else if (cmd == "jump") {
            needWords(1, 1);
            c.kind = ScriptCommand::Kind::Jump;
            auto v = parseInt(words[0]);
            if (!v || *v < 0) throw ScriptError(lineNo, "jump takes a station index");
            c.amount = *v;
        } else if (cmd == "pad") {
            parsePad(words, lineNo, c);
        } else if (cmd == "snapshot") {
            needWords(1, 1);
            c.kind = ScriptCommand::Kind::Snapshot;
            c.text = words[0];
        } else {
            throw ScriptError(lineNo, "unknown command '" + cmd + "'");
        }
        out.push_back(std::move(c));
    }
    return out;
}

}  // namespace ts
