#include "recording_file.h"

#include <QCryptographicHash>

#include <QApplication>
#include <QMetaObject>

#include <fstream>

#include "app_state.h"
#include "data/file_names.h"
#include "data/text_file.h"
#include "data/whole_file.h"
#include "driving_window.h"
#include "program_end.h"

namespace ts {

std::string dataFilesHash(const std::string& trainCode) {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    // The files the loading sequence reads as text; a missing one counts as empty.
    for (const std::string& name :
         {trainCode + "_line.txt", trainCode + "_train.txt", std::string("mascon.txt"), std::string("string.txt")}) {
        hash.addData(QByteArray::fromStdString(name + '\n'));
        if (auto bytes = readFileBytes(resolveDataPath(name))) hash.addData(QByteArray::fromStdString(*bytes));
        hash.addData(QByteArray(1, '\0'));
    }
    return "sha256:" + hash.result().toHex().toStdString();
}

bool beginRecording(TForm1& form, const std::string& path, std::string& error,
                    std::function<void(const std::string&)> failed) {
    if (form.run().started()) {
        error = QCoreApplication::translate("Recording", "the run has started").toStdString();
        return false;
    }
    // Written beside and put in place when the run ends: an older recording of that name stays until then.
    auto out = std::make_unique<WholeFileStream>();
    if (!out->open(path, &error)) return false;
    if (!failed) {
        // The recorder hears of it under the run's lock, maybe on the step's thread: the box waits for the window's.
        failed = [](const std::string& why) {
            if (!qApp) return;  // the program is ending: nobody to tell
            const QString text = QObject::tr("The recording stopped: %1").arg(QString::fromStdString(why));
            QMetaObject::invokeMethod(
                qApp, [text] { app().boxes->show(text.toStdString()); }, Qt::QueuedConnection);
        };
    }
    RunRecorder::Target target;
    WholeFileStream* stream = out.get();
    target.failed = [stream, failed] { failed(stream->failure()); };
    target.finish = [stream, failed] {
        setRecordingEndHook({});
        std::string why;
        // A write that failed was reported when it did.
        if (!stream->commit(&why) && stream->failure().empty()) failed(why);
        return why;
    };
    target.out = std::move(out);
    const std::string code = form.run().locked([](Run& r, PanelModel&) { return r.trainCode; });
    if (!form.run().startRecording(std::move(target), dataFilesHash(code))) {
        error = QCoreApplication::translate("Recording", "the run has started").toStdString();
        return false;
    }
    // A run that ends on a fatal message keeps its recording too.
    DrivingRun* run = &form.run();
    setRecordingEndHook([run] { run->finishRecordingIfFree(); });
    return true;
}

RecordingHeader recordingHeader(const ParsedScript& script) {
    RecordingHeader h;
    for (const auto& c : script.commands) {
        if (c.kind == ScriptCommand::Kind::Train)
            h.train = c.text;
        else if (c.kind == ScriptCommand::Kind::Data)
            h.data = c.text;
    }
    return h;
}

std::string replayRefusal(const RecordingHeader& header, const std::string& train, bool force) {
    if (force) return {};
    if (header.train.empty())
        return QCoreApplication::translate("Recording", "the recording names no train").toStdString();
    if (!train.empty() && train != header.train)
        return QCoreApplication::translate("Recording",
                                           "the recording is of train %1, not %2 (--force replays it anyway)")
            .arg(QString::fromStdString(header.train), QString::fromStdString(train))
            .toStdString();
    if (header.data != dataFilesHash(header.train))
        return QCoreApplication::translate("Recording",
                                           "the data files of train %1 changed since the recording was made (--force "
                                           "replays it anyway)")
            .arg(QString::fromStdString(header.train))
            .toStdString();
    return {};
}

}  // namespace ts
