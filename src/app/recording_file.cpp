#include "recording_file.h"

#include <QCryptographicHash>

#include <fstream>

#include "data/file_names.h"
#include "data/text_file.h"
#include "driving_window.h"

namespace ts {

std::string dataFilesHash(const std::string& trainCode) {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    // The files the loading sequence reads as text; a missing one counts as empty.
    for (const std::string& name : {trainCode + "_line.txt", trainCode + "_train.txt", std::string("mascon.txt"),
                                   std::string("string.txt")}) {
        hash.addData(QByteArray::fromStdString(name + '\n'));
        if (auto bytes = readFileBytes(resolveDataPath(name))) hash.addData(QByteArray::fromStdString(*bytes));
        hash.addData(QByteArray(1, '\0'));
    }
    return "sha256:" + hash.result().toHex().toStdString();
}

bool beginRecording(TForm1& form, const std::string& path, std::string& error) {
    if (form.run().started()) {
        error = "the run has started";
        return false;
    }
    auto out = std::make_unique<std::ofstream>(path, std::ios::binary | std::ios::trunc);
    if (!*out) {
        error = "cannot write '" + path + "'";
        return false;
    }
    const std::string code = form.run().locked([](Run& r, PanelModel&) { return r.trainCode; });
    if (!form.run().startRecording(std::move(out), dataFilesHash(code))) {
        error = "the run has started";
        return false;
    }
    return true;
}

RecordingHeader recordingHeader(const ParsedScript& script) {
    RecordingHeader h;
    for (const auto& c : script.commands) {
        if (c.kind == ScriptCommand::Kind::Train) h.train = c.text;
        else if (c.kind == ScriptCommand::Kind::Data) h.data = c.text;
    }
    return h;
}

std::string replayRefusal(const RecordingHeader& header, const std::string& train, bool force) {
    if (force) return {};
    if (header.train.empty()) return "the recording names no train";
    if (!train.empty() && train != header.train)
        return "the recording is of train " + header.train + ", not " + train + " (--force replays it anyway)";
    if (header.data != dataFilesHash(header.train))
        return "the data files of train " + header.train +
               " changed since the recording was made (--force replays it anyway)";
    return {};
}

}  // namespace ts
