#include "drive_script.h"

#include <algorithm>
#include <iterator>
#include <optional>
#include <sstream>

#include "data/fields.h"
#include "data/text_file.h"
#include "run/input_devices.h"

namespace ts {

namespace {

using K = ScriptCommand::Kind;

bool printableLine(const std::string& s) {
    if (s.empty()) return false;
    for (unsigned char ch : s)
        if (ch < 0x20 || ch > 0x7E) return false;
    return true;
}

std::optional<std::string> fromHex(const std::string& hex) {
    if (hex.size() % 2 != 0) return std::nullopt;
    std::string out;
    for (size_t i = 0; i < hex.size(); i += 2) {
        int v = 0;
        for (size_t k = i; k < i + 2; ++k) {
            const char h = hex[k];
            v *= 16;
            if (h >= '0' && h <= '9')
                v += h - '0';
            else if (h >= 'a' && h <= 'f')
                v += h - 'a' + 10;
            else if (h >= 'A' && h <= 'F')
                v += h - 'A' + 10;
            else
                return std::nullopt;
        }
        out.push_back(char(v));
    }
    return out;
}

// "s", "s12", "t", "t3", "p" or "p=FRAME".
std::optional<StepToken> parseToken(const std::string& w) {
    StepToken t;
    if (w.empty()) return std::nullopt;
    if (w[0] == 'p') {
        t.kind = StepToken::Kind::Paint;
        if (w.size() == 1) return t;
        if (w[1] != '=') return std::nullopt;
        auto f = parseInt(w.substr(2));
        if (!f || *f < 0) return std::nullopt;
        t.frame = int32_t(*f);
        return t;
    }
    if (w[0] != 's' && w[0] != 't') return std::nullopt;
    t.kind = w[0] == 's' ? StepToken::Kind::Simulation : StepToken::Kind::Presentation;
    if (w.size() > 1) {
        auto n = parseInt(w.substr(1));
        if (!n || *n < 1 || *n > kMaxRunLineSteps) return std::nullopt;
        t.count = int(*n);
    }
    return t;
}

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

void parseCommand(const std::string& cmd, const std::string& rest, ScriptCommand& c, int lineNo) {
    std::istringstream args(rest);
    std::vector<std::string> words;
    for (std::string w; args >> w;) words.push_back(w);
    auto needWords = [&](size_t lo, size_t hi) {
        if (words.size() < lo || words.size() > hi) throw ScriptError(lineNo, "wrong arguments for '" + cmd + "'");
    };
    auto recordingOnly = [&] {
        if (!c.anchored) throw ScriptError(lineNo, "'" + cmd + "' belongs to a recording's '@step N/M' lines");
    };
    if (cmd == "start") {
        needWords(0, 0);
        c.kind = K::Start;
    } else if (cmd == "close") {
        needWords(0, 0);
        c.kind = K::Close;
    } else if (cmd == "char") {
        needWords(1, 1);
        c.kind = K::Char;
        if (words[0] == "space")
            c.text = " ";
        else if (words[0].size() == 1)
            c.text = words[0];
        else
            throw ScriptError(lineNo, "char takes one character or 'space'");
    } else if (cmd == "key") {
        needWords(1, 1);
        c.kind = K::Key;
        std::string name = words[0];
        for (;;) {
            if (name.rfind("shift+", 0) == 0) {
                c.shift = true;
                name = name.substr(6);
            } else if (name.rfind("ctrl+", 0) == 0) {
                c.ctrl = true;
                name = name.substr(5);
            } else if (name.rfind("alt+", 0) == 0) {
                c.alt = true;
                name = name.substr(4);
            } else if (name.rfind("mouse+", 0) == 0) {
                c.mouse = true;
                name = name.substr(6);
            } else
                break;
        }
        if (!isScriptKeyName(name)) throw ScriptError(lineNo, "unknown key '" + words[0] + "'");
        c.text = name;
    } else if (cmd == "wheel") {
        needWords(1, 2);
        c.kind = K::Wheel;
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
        c.kind = K::Serial;
        c.text = rest;
    } else if (cmd == "serialhex") {
        needWords(0, 1);
        auto bytes = words.empty() ? std::optional<std::string>("") : fromHex(words[0]);
        if (!bytes) throw ScriptError(lineNo, "serialhex takes the message's bytes as pairs of hex digits");
        c.kind = K::Serial;
        c.text = *bytes;
    } else if (cmd == "jump") {
        needWords(1, 1);
        c.kind = K::Jump;
        auto v = parseInt(words[0]);
        if (!v || *v < 0) throw ScriptError(lineNo, "jump takes a station index");
        c.amount = *v;
    } else if (cmd == "goto") {
        needWords(1, 1);
        c.kind = K::GoTo;
        auto v = parseInt(words[0]);
        if (!v || *v < 0) throw ScriptError(lineNo, "goto takes a frame");
        c.amount = *v;
    } else if (cmd == "pad") {
        parsePad(words, lineNo, c);
    } else if (cmd == "snapshot") {
        needWords(1, 1);
        c.kind = K::Snapshot;
        c.text = words[0];
    } else if (cmd == "run") {
        recordingOnly();
        if (words.empty()) throw ScriptError(lineNo, "run takes steps: s, sN, t, tN, p or p=FRAME");
        c.kind = K::Run;
        int64_t steps = 0;
        for (const auto& w : words) {
            auto t = parseToken(w);
            if (!t) throw ScriptError(lineNo, "bad step '" + w + "'");
            c.steps.push_back(*t);
            steps += t->count;
        }
        if (steps > kMaxRunLineSteps)
            throw ScriptError(lineNo, "a run line holds at most " + std::to_string(kMaxRunLineSteps) +
                                          " steps, this one " + std::to_string(steps));
    } else if (cmd == "sound") {
        recordingOnly();
        needWords(3, 3);
        auto ch = parseInt(words[0]), call = parseInt(words[1]), value = parseInt(words[2]);
        if (!ch || *ch < 0 || !call || *call < 1 || !value)
            throw ScriptError(lineNo, "sound takes CHANNEL CALL STATUS");
        c.kind = K::SoundStatus;
        c.amount = int(*ch);
        c.call = *call;
        c.status = int(*value);
    } else if (cmd == "recording") {
        recordingOnly();
        needWords(1, 1);
        auto v = parseInt(words[0]);
        if (!v || *v != 1) throw ScriptError(lineNo, "unknown recording version '" + words[0] + "'");
        c.kind = K::Recording;
        c.amount = int(*v);
    } else if (cmd == "train" || cmd == "data") {
        recordingOnly();
        needWords(1, 1);
        c.kind = cmd == "train" ? K::Train : K::Data;
        c.text = words[0];
    } else if (const InputDevice* device = findInputDevice(cmd)) {
        if (!device->accepts(rest)) throw ScriptError(lineNo, "bad arguments for '" + cmd + "'");
        c.kind = K::Device;
        c.text = cmd;
        c.arguments = rest;
    } else {
        throw ScriptError(lineNo, "unknown command '" + cmd + "'");
    }
}

}  // namespace

bool isScriptCommandWord(const std::string& word) {
    static const char* const words[] = {"start",     "close",     "char",  "key",  "wheel",    "serial",
                                        "serialhex", "jump",      "goto",  "pad",  "snapshot", "run",
                                        "sound",     "recording", "train", "data", "step"};
    return std::find(std::begin(words), std::end(words), word) != std::end(words);
}

bool isScriptKeyName(const std::string& name) {
    if (name == "Enter" || name == "ScrollLock") return true;
    if (name.size() >= 2 && name[0] == 'F') {
        auto n = parseInt(name.substr(1));
        return n && *n >= 1 && *n <= 12 && name[1] != ' ' && name[1] != '+' && name[1] != '-';
    }
    return false;
}

ParsedScript parseScript(const std::string& text) {
    ParsedScript out;
    const auto lines = splitLines(text);
    const bool lastLineEnded = text.empty() || text.back() == '\n';
    int64_t last = 0, lastSim = 0, lastPres = 0;
    bool timed = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        const int lineNo = int(i) + 1;
        const std::string& line = lines[i];
        const size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#') continue;
        // A recording's last line without its line end is where the writer was stopped.
        if (out.anchored && i + 1 == lines.size() && !lastLineEnded) {
            out.cutLine = lineNo;
            break;
        }
        if (line[first] != '@') throw ScriptError(lineNo, "expected '@MS COMMAND'");
        size_t p = first + 1;
        size_t sp = line.find_first_of(" \t", p);
        if (sp == std::string::npos) throw ScriptError(lineNo, "missing command");
        ScriptCommand c;
        c.line = lineNo;
        if (line.compare(p, sp - p, "step") == 0) {
            if (timed) throw ScriptError(lineNo, "'@step' lines cannot follow '@MS' lines");
            p = line.find_first_not_of(" \t", sp);
            sp = p == std::string::npos ? p : line.find_first_of(" \t", p);
            if (sp == std::string::npos) throw ScriptError(lineNo, "'@step' takes N/M and a command");
            const std::string anchor = line.substr(p, sp - p);
            const size_t slash = anchor.find('/');
            auto n = parseInt(anchor.substr(0, slash)),
                 m = slash == std::string::npos ? std::nullopt : parseInt(anchor.substr(slash + 1));
            if (!n || !m || *n < 0 || *m < 0) throw ScriptError(lineNo, "bad step anchor '" + anchor + "'");
            if (*n < lastSim || *m < lastPres)
                throw ScriptError(lineNo,
                                  "steps go back from " + std::to_string(lastSim) + "/" + std::to_string(lastPres));
            lastSim = *n;
            lastPres = *m;
            c.anchored = true;
            c.simulationSteps = *n;
            c.presentationSteps = *m;
            out.anchored = true;
        } else {
            if (out.anchored) throw ScriptError(lineNo, "'@MS' lines cannot follow '@step' lines");
            auto ms = parseInt(line.substr(p, sp - p));
            if (!ms || *ms < 0) throw ScriptError(lineNo, "bad time '" + line.substr(p, sp - p) + "'");
            if (*ms < last) throw ScriptError(lineNo, "time goes back from " + std::to_string(last));
            last = *ms;
            c.ms = *ms;
            timed = true;
        }
        p = line.find_first_not_of(" \t", sp);
        if (p == std::string::npos) throw ScriptError(lineNo, "missing command");
        sp = line.find(' ', p);
        const std::string cmd = line.substr(p, sp == std::string::npos ? std::string::npos : sp - p);
        // For "serial" the text is the rest of the line after one blank, byte for byte.
        const std::string rest = sp == std::string::npos ? std::string() : line.substr(sp + 1);
        parseCommand(cmd, rest, c, lineNo);
        out.commands.push_back(std::move(c));
    }
    return out;
}

std::vector<ScriptCommand> parseDriveScript(const std::string& text) { return parseScript(text).commands; }

std::string charCommand(char c) { return c == ' ' ? "char space" : std::string("char ") + c; }

std::string keyCommand(const std::string& keyName, bool shift, bool ctrl, bool alt, bool mouse) {
    std::string s = "key ";
    if (shift) s += "shift+";
    if (ctrl) s += "ctrl+";
    if (alt) s += "alt+";
    if (mouse) s += "mouse+";
    return s + keyName;
}

std::string serialCommand(const std::string& message) {
    // A line holds printable text; its end and leading or trailing blanks do not survive editors.
    if (printableLine(message) && message.back() != ' ' && message.back() != '\t') return "serial " + message;
    static const char* digits = "0123456789abcdef";
    std::string s = "serialhex ";
    for (unsigned char ch : message) {
        s += digits[ch >> 4];
        s += digits[ch & 15];
    }
    return s;
}

}  // namespace ts
