#include "check_mode.h"

#include "data/train_codes.h"

#include <QCoreApplication>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include <unistd.h>

#include "check/data_check.h"
#include "check_devices.h"
#include "command_line.h"
#include "data_folder.h"
#include "json_writer.h"
#include "qt_pictures.h"

namespace ts {

namespace {

constexpr const char* kUsage = "usage: trainsim check [--data DIR] [--json] [CODE...]\n";

int usage(const std::string& why) {
    std::cerr << "trainsim check: " << why << "\n" << kUsage;
    return 2;
}

std::string plainLine(const Diagnostic& d) {
    std::string t = d.file;
    if (d.line > 0) t += ":" + std::to_string(d.line);
    if (d.line > 0 && d.column > 0) t += ":" + std::to_string(d.column);
    t += std::string(": ") + severityName(d.severity) + ": ";
    const std::string place = placeText(d);
    if (!place.empty()) t += place + ": ";
    t += d.explanation;
    if (!d.message.empty()) t += " (a run shows \"" + d.message + "\")";
    return t;
}

std::string jsonLine(const std::string& code, const Diagnostic& d) {
    JsonWriter w;
    w.beginObject();
    w.key("train").value(code);
    w.key("severity").value(severityName(d.severity));
    w.key("file").value(d.file);
    w.key("line").value(d.line);
    w.key("column").value(d.column);
    w.key("section").value(d.section);
    w.key("row").value(d.row);
    w.key("field").value(d.fieldName);
    w.key("message").value(d.message);
    w.key("explanation").value(d.explanation);
    w.endObject();
    return w.str();
}

std::string counted(int n, const char* one) { return std::to_string(n) + " " + one + (n == 1 ? "" : "s"); }

}  // namespace

int runCheckMode(int argc, char** argv) {
    std::string dataDir;
    bool json = false;
    std::vector<std::string> codes;
    std::vector<CommandOption> options;
    options = {
        valueOption("--data", "DIR", "read the data files from DIR", storeIn(dataDir)),
        switchOption("--json", "one JSON object a line instead of text", setFlag(json)),
        alsoNamed(switchOption("--help", "show this help",
                               [&options] {
                                   std::cout << kUsage
                                             << "Reads each train's files as a run reads them and reports every "
                                                "error (the run would\n"
                                                "refuse the file) and warning (it loads but misbehaves). Without "
                                                "CODE: every train\n"
                                                "whose CODE_line.txt and CODE_train.txt are in the folder.\n"
                                             << optionLines(options, 12);
                                   return OptionAnswer::exitWith(0);
                               }),
                  "-h"),
    };
    // Every other word is a train code; one beginning with "-" is an unknown option.
    auto code = [&codes](const std::string& c) {
        codes.push_back(c);
        return OptionAnswer::accepted();
    };
    const ParsedLine parsed = parseCommandLine({options, nullptr, code}, argc, argv);
    if (const auto end = walkEnd(parsed, usage)) return *end;
    const DataFolder data = chooseDataFolder(dataDir);
    if (!data.path.empty() && chdir(data.path.c_str()) != 0)
        return usage("cannot change into data folder '" + data.path + "'");
    if (codes.empty()) codes = trainCodesIn(".");
    if (codes.empty()) return usage("no train in the data folder (no CODE_line.txt with its CODE_train.txt)");

    // Qt's picture reader wants its application object for its format plug-ins.
    int qargc = 1;
    char name[] = "trainsim";
    char* qargv[] = {name, nullptr};
    QCoreApplication qapp(qargc, qargv);

    int errors = 0, warnings = 0;
    for (const auto& code : codes) {
        QtPictures pictures;
        CheckDevices devices = realCheckDevices(pictures);
        Diagnostics found;
        checkTrain(code, devices, found);
        for (const auto& d : found.items()) std::cout << (json ? jsonLine(code, d) : plainLine(d)) << "\n";
        errors += found.count(Severity::Error);
        warnings += found.count(Severity::Warning);
        if (!json)
            std::cout << code << ": " << counted(found.count(Severity::Error), "error") << ", "
                      << counted(found.count(Severity::Warning), "warning") << "\n";
    }
    if (!json && codes.size() > 1)
        std::cout << counted(errors, "error") << " and " << counted(warnings, "warning") << " in " << codes.size()
                  << " trains\n";
    std::cout.flush();
    return errors > 0 ? 1 : 0;
}

}  // namespace ts
