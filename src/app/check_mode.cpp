#include "check_mode.h"

#include "data/train_codes.h"

#include <QCoreApplication>
#include <QtGlobal>

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
#include "language.h"
#include "qt_pictures.h"
#include "text/our_text.h"

namespace ts {

namespace {

constexpr const char* kSynopsis = "trainsim check [--data DIR] [--json] [CODE...]";

int usage(const std::string& why) {
    std::cerr << "trainsim check: " << why << "\n" << usageLine(kSynopsis);
    return 2;
}

// The severity as people read it; the JSON lines keep severityName().
std::string severityShown(Severity s) {
    switch (s) {
        case Severity::Error: return ourTextUtf8("CheckCommand", "error");
        case Severity::Warning: return ourTextUtf8("CheckCommand", "warning");
        case Severity::Note: return ourTextUtf8("CheckCommand", "note");
    }
    return {};
}

std::string plainLine(const Diagnostic& d) {
    std::string t = d.file;
    if (d.line > 0) t += ":" + std::to_string(d.line);
    if (d.line > 0 && d.column > 0) t += ":" + std::to_string(d.column);
    t += ": " + severityShown(d.severity) + ": ";
    const std::string place = placeText(d);
    if (!place.empty()) t += place + ": ";
    t += d.explanation;
    // The message is the run's own text, shown as it is in every language.
    if (!d.message.empty()) t += withArgs(ourTextUtf8("CheckCommand", " (a run shows \"%1\")"), {d.message});
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

std::string errorCount(int n) {
    return n == 1 ? ourTextUtf8("CheckCommand", "1 error")
                  : withArgs(ourTextUtf8("CheckCommand", "%1 errors"), {std::to_string(n)});
}

std::string warningCount(int n) {
    return n == 1 ? ourTextUtf8("CheckCommand", "1 warning")
                  : withArgs(ourTextUtf8("CheckCommand", "%1 warnings"), {std::to_string(n)});
}

}  // namespace

int runCheckMode(int argc, char** argv) {
    std::string dataDir;
    bool json = false;
    std::vector<std::string> codes;
    std::vector<CommandOption> options;
    options = {
        valueOption("--data", "DIR", QT_TRANSLATE_NOOP("Options", "read the data files from DIR"), storeIn(dataDir)),
        switchOption("--json", QT_TRANSLATE_NOOP("Options", "one JSON object a line instead of text"), setFlag(json)),
        alsoNamed(switchOption("--help", QT_TRANSLATE_NOOP("Options", "show this help"),
                               [&options] {
                                   std::cout
                                       << usageLine(kSynopsis)
                                       << ourTextUtf8("CheckCommand",
                                                      "Reads each train's files as a run reads them and reports "
                                                      "every error (the run would\n"
                                                      "refuse the file) and warning (it loads but misbehaves). "
                                                      "Without CODE: every train\n"
                                                      "whose CODE_line.txt and CODE_train.txt are in the folder.\n")
                                       << ourTextUtf8("CheckCommand",
                                                      "With --json the lines are in English whatever the "
                                                      "language, for other programs.\n")
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
    if (!data.path.empty() && chdir(data.path.c_str()) != 0) return usage(cannotEnterDataFolder(data.path));
    if (codes.empty()) codes = trainCodesIn(".");
    if (codes.empty())
        return usage(
            ourTextUtf8("CheckCommand", "no train in the data folder (no CODE_line.txt with its CODE_train.txt)"));
    // The JSON lines are for other programs: their explanations stay English, as the tools reading them expect.
    if (json) useLanguage(Language::English);

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
            std::cout << withArgs(ourTextUtf8("CheckCommand", "%1: %2, %3"),
                                  {code, errorCount(found.count(Severity::Error)),
                                   warningCount(found.count(Severity::Warning))})
                      << "\n";
    }
    if (!json && codes.size() > 1)
        std::cout << withArgs(ourTextUtf8("CheckCommand", "%1 and %2 in %3 trains"),
                              {errorCount(errors), warningCount(warnings), std::to_string(codes.size())})
                  << "\n";
    std::cout.flush();
    return errors > 0 ? 1 : 0;
}

}  // namespace ts
