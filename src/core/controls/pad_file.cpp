#include "controls/pad_file.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "controls/pad_file_entries.h"
#include "data/text_file.h"
#include "data/whole_file.h"

namespace ts {

namespace {

const char* const kHatDirections[] = {"up", "right", "down", "left"};

bool within(const ColumnFacts& word, int n) { return n >= word.range->first && n <= word.range->second; }

// Blanks as a hand-edited or twice-converted file holds them: a form feed, a stray CR.
constexpr const char* kBlanks = " \t\r\f\v";

constexpr const char kByteOrderMark[] = "\xEF\xBB\xBF";

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
    static const ColumnFacts& number = padEntryWord("axis", "N");
    static const ColumnFacts& axisValue = padEntryWord("axis", "min");
    if (w.size() < 3 || !toInt(w[1], a.axis) || !within(number, a.axis)) return false;
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
        const bool value = toInt(v, n) && within(axisValue, n);
        if (k == "min" && value)
            a.min = n;
        else if (k == "max" && value)
            a.max = n;
        else if ((k == "centre" || k == "center") && value)
            a.centre = n;
        else if (k == "deadzone" && toDouble(v, f) && f >= 0 && f < 0.5)
            a.deadZone = f;
        else if (k == "hysteresis" && toDouble(v, f) && f >= 0 && f < 0.5)
            a.hysteresis = f;
        else
            return false;
    }
    return a.min != a.max;
}

// The words of a line, split at any blank.
std::vector<std::string> wordsOf(const std::string& line) {
    std::vector<std::string> w;
    for (size_t p = line.find_first_not_of(kBlanks); p != std::string::npos;) {
        const size_t e = line.find_first_of(kBlanks, p);
        w.push_back(line.substr(p, e == std::string::npos ? e : e - p));
        p = e == std::string::npos ? e : line.find_first_not_of(kBlanks, e);
    }
    return w;
}

// The lowered GUID a section line names, or nothing when the line is not one.
std::optional<std::string> sectionGuid(const std::string& line) {
    const size_t first = line.find_first_not_of(kBlanks);
    if (first == std::string::npos || line[first] != '[') return std::nullopt;
    const size_t close = line.find(']', first);
    if (close == std::string::npos || close == first + 1) return std::nullopt;
    return lower(line.substr(first + 1, close - first - 1));
}

// The entry lines of one controller's section, without their line ends.
std::vector<std::string> entryLines(const PadMapping& m) {
    std::vector<std::string> out;
    if (!m.name.empty()) out.push_back("name " + m.name);
    for (const AxisMapping& a : m.axes) {
        std::ostringstream o;
        o << "axis " << a.axis << ' ' << axisRoleName(a.role) << " min " << a.min << " max " << a.max;
        if (a.centre) o << " centre " << *a.centre;
        o << " deadzone " << number(a.deadZone) << " hysteresis " << number(a.hysteresis);
        if (a.inverted) o << " inverted";
        out.push_back(o.str());
    }
    for (const auto& [button, action] : m.buttons) {
        if (action == PadAction::None) continue;
        std::ostringstream o;
        if (button >= kHatButtonBase) {
            const int k = button - kHatButtonBase;
            o << "hat " << k / 4 << ' ' << kHatDirections[k % 4];
        } else {
            o << "button " << button;
        }
        o << ' ' << padActionName(action);
        out.push_back(o.str());
    }
    return out;
}

constexpr const char* kFileHeader =
    "# Game controller mappings, one section per controller named by its GUID.\n"
    "# axis N power|brake|combined [min V] [max V] [centre V] [deadzone F] [hysteresis F] [inverted]\n"
    "# button N ACTION, hat N up|right|down|left ACTION (see docs/data-formats.md)\n";

}  // namespace

std::vector<PadMapping> readPadMappings(const std::string& text, std::vector<std::string>* problems) {
    std::vector<PadMapping> out;
    // A byte-order mark is no part of the first line.
    std::istringstream in(text.rfind(kByteOrderMark, 0) == 0 ? text.substr(3) : text);
    std::string line;
    int lineNo = 0;
    auto problem = [&](const std::string& what) {
        if (problems) problems->push_back("gamepad.txt line " + std::to_string(lineNo) + ": " + what);
    };
    while (std::getline(in, line)) {
        ++lineNo;
        // Every CR at the end: a file converted twice has two.
        while (!line.empty() && line.back() == '\r') line.pop_back();
        const size_t first = line.find_first_not_of(kBlanks);
        if (first == std::string::npos || line[first] == '#') continue;
        if (line[first] == '[') {
            const auto guid = sectionGuid(line);
            if (!guid) {
                problem("bad section name");
                continue;
            }
            PadMapping m;
            m.guid = *guid;
            out.push_back(m);
            continue;
        }
        if (out.empty()) {
            problem("an entry before the first [GUID] section");
            continue;
        }
        PadMapping& m = out.back();
        const std::vector<std::string> w = wordsOf(line);
        if (w[0] == "name") {
            const size_t at = line.find("name", first) + 4;
            const size_t from = line.find_first_not_of(kBlanks, at);
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
            if (w.size() == size_t(hat ? 4 : 3) && toInt(w[1], n) && within(padEntryWord(w[0], "N"), n))
                action = padActionNamed(w.back());
            int button = n;
            if (action && hat) {
                const auto* dir = std::find(std::begin(kHatDirections), std::end(kHatDirections), w[2]);
                if (dir == std::end(kHatDirections))
                    action.reset();
                else
                    button = hatButton(n, int(dir - std::begin(kHatDirections)));
            }
            if (!action) {
                problem("cannot read the " + w[0] + " entry");
                continue;
            }
            if (*action == PadAction::None)
                m.buttons.erase(button);
            else
                m.buttons[button] = *action;
        } else {
            problem("unknown entry '" + w[0] + "'");
        }
    }
    return out;
}

std::string writePadMappings(const std::vector<PadMapping>& mappings) {
    std::string o = kFileHeader;
    for (const PadMapping& m : mappings) {
        o += "\n[" + m.guid + "]\n";
        for (const std::string& line : entryLines(m)) o += line + "\n";
    }
    return o;
}

std::string replacePadMapping(const std::string& text, const PadMapping& m) {
    const std::string guid = lower(m.guid);
    PadMapping stored = m;
    stored.guid = guid;
    if (text.empty()) return writePadMappings({stored});
    // Saved unchanged, the file stays as the hand left it.
    const std::vector<PadMapping> now = readPadMappings(text);
    if (const PadMapping* old = findPadMapping(now, guid); old && *old == stored) return text;
    const size_t firstEnd = text.find('\n');
    const std::string eol = firstEnd != std::string::npos && firstEnd > 0 && text[firstEnd - 1] == '\r' ? "\r\n" : "\n";
    // The file's lines with their own ends; the byte-order mark stays on the first.
    std::vector<std::string> lines;
    for (size_t p = 0; p < text.size();) {
        const size_t e = text.find('\n', p);
        const size_t end = e == std::string::npos ? text.size() : e + 1;
        lines.push_back(text.substr(p, end - p));
        p = end;
    }
    auto bare = [&](size_t i) {
        std::string l = i == 0 && lines[0].rfind(kByteOrderMark, 0) == 0 ? lines[0].substr(3) : lines[i];
        while (!l.empty() && (l.back() == '\n' || l.back() == '\r')) l.pop_back();
        return l;
    };
    std::string entries;
    for (const std::string& line : entryLines(m)) entries += line + eol;
    size_t header = lines.size();
    for (size_t i = 0; i < lines.size(); ++i)
        if (sectionGuid(bare(i)) == guid) {
            header = i;
            break;
        }
    if (header == lines.size()) {
        // A new section at the end, after a line end the last line may lack.
        std::string out = text;
        if (out.back() != '\n') out += eol;
        return out + eol + "[" + guid + "]" + eol + entries;
    }
    // Within the section only the entries change: comments, blank lines and
    // lines no entry is read from stay where they are.
    std::string out;
    bool placed = false;
    size_t i = 0;
    for (; i <= header; ++i) out += lines[i];
    if (!lines[header].empty() && lines[header].back() != '\n') out += eol;
    for (; i < lines.size(); ++i) {
        const std::string l = bare(i);
        if (sectionGuid(l)) break;
        const std::vector<std::string> w = wordsOf(l);
        const bool entry = !w.empty() && (w[0] == "name" || w[0] == "axis" || w[0] == "button" || w[0] == "hat");
        if (!entry) {
            out += lines[i];
            continue;
        }
        if (!placed) out += entries;
        placed = true;
    }
    if (!placed) {
        // No entry yet: right after the section line.
        std::string head;
        for (size_t k = 0; k <= header; ++k) head += lines[k];
        if (!head.empty() && head.back() != '\n') head += eol;
        out = head + entries + out.substr(head.size());
    }
    for (; i < lines.size(); ++i) out += lines[i];
    return out;
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

bool savePadMapping(const std::string& folder, const PadMapping& m, std::string* error) {
    const std::string path = (std::filesystem::path(folder.empty() ? "." : folder) / kPadMappingFile).string();
    std::string text;
    std::error_code ec;
    if (std::filesystem::exists(path, ec)) {
        auto bytes = readFileBytes(path);
        if (!bytes) {
            if (error) *error = "cannot read \"" + path + "\"";
            return false;
        }
        text = *bytes;
    }
    return replaceFile(path, replacePadMapping(text, m), error);
}

}  // namespace ts
