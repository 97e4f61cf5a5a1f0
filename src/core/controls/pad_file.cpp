#include "controls/pad_file.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "data/text_file.h"

namespace ts {

namespace {

const char* const kHatDirections[] = {"up", "right", "down", "left"};

std::string lower(std::string s) {
    for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool toInt(const std::string& s, int& out) {
    const char* end = s.data() + s.size();
    auto [p, ec] = std::from_chars(s.data(), end, out);
    return ec == std::errc() && p == end;
}

bool toDouble(const std::string& s, double& out) {
    const char* end = s.data() + s.size();
    auto [p, ec] = std::from_chars(s.data(), end, out);
    return ec == std::errc() && p == end;
}

// The shortest text that reads back as the same number.
std::string number(double v) {
    char buf[32];
    auto [p, ec] = std::to_chars(buf, buf + sizeof buf, v);
    return ec == std::errc() ? std::string(buf, p) : std::string("0");
}

// "axis N ROLE [min V] [max V] [centre V] [deadzone F] [hysteresis F] [inverted]"
bool readAxis(const std::vector<std::string>& w, AxisMapping& a) {
    if (w.size() < 3 || !toInt(w[1], a.axis) || a.axis < 0) return false;
    const auto role = axisRoleNamed(w[2]);
    if (!role) return false;
    a.role = *role;
    for (size_t i = 3; i < w.size(); ++i) {
        const std::string& k = w[i];
        if (k == "inverted") {
            a.inverted = true;
            continue;
        }
        if (i + 1 >= w.size()) return false;
        const std::string& v = w[++i];
        int n = 0;
        double f = 0;
        if (k == "min" && toInt(v, n)) a.min = n;
        else if (k == "max" && toInt(v, n)) a.max = n;
        else if ((k == "centre" || k == "center") && toInt(v, n)) a.centre = n;
        else if (k == "deadzone" && toDouble(v, f) && f >= 0 && f < 0.5) a.deadZone = f;
        else if (k == "hysteresis" && toDouble(v, f) && f >= 0 && f < 0.5) a.hysteresis = f;
        else return false;
    }
    return a.min != a.max;
}

}  // namespace

std::vector<PadMapping> readPadMappings(const std::string& text, std::vector<std::string>* problems) {
    std::vector<PadMapping> out;
    std::istringstream in(text);
    std::string line;
    int lineNo = 0;
    auto problem = [&](const std::string& what) {
        if (problems) problems->push_back("gamepad.txt line " + std::to_string(lineNo) + ": " + what);
    };
    while (std::getline(in, line)) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#') continue;
        if (line[first] == '[') {
            const size_t close = line.find(']', first);
            if (close == std::string::npos || close == first + 1) {
                problem("bad section name");
                continue;
            }
            PadMapping m;
            m.guid = lower(line.substr(first + 1, close - first - 1));
            out.push_back(m);
            continue;
        }
        if (out.empty()) {
            problem("an entry before the first [GUID] section");
            continue;
        }
        PadMapping& m = out.back();
        std::istringstream words(line);
        std::vector<std::string> w;
        for (std::string s; words >> s;) w.push_back(s);
        if (w[0] == "name") {
            const size_t at = line.find("name", first) + 4;
            const size_t from = line.find_first_not_of(" \t", at);
            m.name = from == std::string::npos ? std::string() : line.substr(from);
        } else if (w[0] == "axis") {
            AxisMapping a;
            if (!readAxis(w, a)) {
                problem("cannot read the axis entry");
                continue;
            }
            std::erase_if(m.axes, [&](const AxisMapping& o) { return o.axis == a.axis; });
            m.axes.push_back(a);
        } else if (w[0] == "button" || w[0] == "hat") {
            const bool hat = w[0] == "hat";
            int n = 0;
            std::optional<PadAction> action;
            if (w.size() == size_t(hat ? 4 : 3) && toInt(w[1], n) && n >= 0) action = padActionNamed(w.back());
            int button = n;
            if (action && hat) {
                const auto* dir = std::find(std::begin(kHatDirections), std::end(kHatDirections), w[2]);
                if (dir == std::end(kHatDirections)) action.reset();
                else button = hatButton(n, int(dir - std::begin(kHatDirections)));
            } else if (action && n >= kHatButtonBase) {
                action.reset();  // those numbers are the hats'
            }
            if (!action) {
                problem("cannot read the " + w[0] + " entry");
                continue;
            }
            if (*action == PadAction::None) m.buttons.erase(button);
            else m.buttons[button] = *action;
        } else {
            problem("unknown entry '" + w[0] + "'");
        }
    }
    return out;
}

std::string writePadMappings(const std::vector<PadMapping>& mappings) {
    std::ostringstream o;
    o << "# Game controller mappings, one section per controller named by its GUID.\n"
         "# axis N power|brake|combined [min V] [max V] [centre V] [deadzone F] [hysteresis F] [inverted]\n"
         "# button N ACTION, hat N up|right|down|left ACTION (see docs/data-formats.md)\n";
    for (const PadMapping& m : mappings) {
        o << "\n[" << m.guid << "]\n";
        if (!m.name.empty()) o << "name " << m.name << "\n";
        for (const AxisMapping& a : m.axes) {
            o << "axis " << a.axis << ' ' << axisRoleName(a.role) << " min " << a.min << " max " << a.max;
            if (a.centre) o << " centre " << *a.centre;
            o << " deadzone " << number(a.deadZone) << " hysteresis " << number(a.hysteresis);
            if (a.inverted) o << " inverted";
            o << "\n";
        }
        for (const auto& [button, action] : m.buttons) {
            if (action == PadAction::None) continue;
            if (button >= kHatButtonBase) {
                const int k = button - kHatButtonBase;
                o << "hat " << k / 4 << ' ' << kHatDirections[k % 4];
            } else {
                o << "button " << button;
            }
            o << ' ' << padActionName(action) << "\n";
        }
    }
    return o.str();
}

const PadMapping* findPadMapping(const std::vector<PadMapping>& mappings, const std::string& guid) {
    const std::string g = lower(guid);
    for (const PadMapping& m : mappings)
        if (m.guid == g) return &m;
    return nullptr;
}

void storePadMapping(std::vector<PadMapping>& mappings, const PadMapping& m) {
    PadMapping stored = m;
    stored.guid = lower(m.guid);
    for (PadMapping& old : mappings)
        if (old.guid == stored.guid) {
            old = stored;
            return;
        }
    mappings.push_back(stored);
}

std::vector<PadMapping> loadPadMappings(const std::string& folder, std::vector<std::string>* problems) {
    const std::filesystem::path path = std::filesystem::path(folder.empty() ? "." : folder) / kPadMappingFile;
    // Read by the data files' rule: a pipe there must not block a controller's connecting.
    const auto text = readFileBytes(path.string());
    if (!text) return {};
    return readPadMappings(*text, problems);
}

bool savePadMappings(const std::string& folder, const std::vector<PadMapping>& mappings) {
    const std::filesystem::path path = std::filesystem::path(folder.empty() ? "." : folder) / kPadMappingFile;
    // Written beside and renamed, so that a failed write leaves the old file.
    const std::filesystem::path temp = path.string() + ".new";
    {
        std::ofstream f(temp, std::ios::binary | std::ios::trunc);
        if (!f) return false;
        f << writePadMappings(mappings);
        if (!f.flush()) return false;
    }
    std::error_code ec;
    std::filesystem::rename(temp, path, ec);
    if (!ec) return true;
    std::filesystem::remove(temp, ec);
    return false;
}

}  // namespace ts
