#include "link_protocol.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace ts {

namespace {

// A command line is short; anything longer is not one of ours.
constexpr int kMaxCommandText = 256;
constexpr int kMaxFields = 64;
constexpr int kMaxEvery = 600;  // one a minute

LinkRequest invalid(std::string why) {
    LinkRequest r;
    r.error = std::move(why);
    return r;
}

// The inputs a driver gives: what the keyboard, the wheel, the serial
// controller and a registered device send, and Start. Jumps, closing and
// snapshots stay with the user.
bool driverInput(ScriptCommand::Kind k) {
    using K = ScriptCommand::Kind;
    return k == K::Start || k == K::Char || k == K::Key || k == K::Wheel || k == K::Serial || k == K::Device;
}

LinkRequest command(const QJsonObject& o) {
    const QJsonValue v = o.value("command");
    if (!v.isString()) return invalid("\"command\" must be a text such as \"char z\"");
    const std::string text = v.toString().toStdString();
    if (text.empty()) return invalid("empty command");
    if (text.size() > kMaxCommandText) return invalid("command longer than 256 bytes");
    if (text.find_first_of("\r\n") != std::string::npos) return invalid("a command is one line");
    std::vector<ScriptCommand> parsed;
    try {
        parsed = parseDriveScript("@0 " + text + "\n");
    } catch (const ScriptError& e) {
        std::string why = e.what();
        // The script's line number means nothing to a client.
        if (const auto colon = why.find(": "); why.rfind("script line", 0) == 0 && colon != std::string::npos)
            why = why.substr(colon + 2);
        return invalid("bad command: " + why);
    }
    if (parsed.size() != 1) return invalid("one command per message");
    if (!driverInput(parsed.front().kind)) return invalid("not a driver's input: " + text);
    LinkRequest r;
    r.kind = LinkRequest::Kind::Command;
    r.command = parsed.front();
    return r;
}

LinkRequest subscribe(const QJsonObject& o) {
    LinkRequest r;
    r.kind = LinkRequest::Kind::Subscribe;
    if (o.contains("fields")) {
        const QJsonValue f = o.value("fields");
        if (!f.isArray()) return invalid("\"fields\" must be a list of names");
        const QJsonArray a = f.toArray();
        if (a.size() > kMaxFields) return invalid("too many fields");
        r.allFields = false;
        for (const auto& x : a) {
            if (!x.isString() || x.toString().size() > 64) return invalid("\"fields\" must be a list of names");
            r.fields.insert(x.toString().toStdString());
        }
    }
    if (o.contains("every")) {
        const QJsonValue e = o.value("every");
        const double d = e.toDouble(-1);
        if (!e.isDouble() || d != int(d) || d < 1 || d > kMaxEvery)
            return invalid("\"every\" must be a whole number from 1 to 600");
        r.every = int(d);
    }
    return r;
}

}  // namespace

LinkRequest parseLinkRequest(const std::string& text) {
    if (text.size() > size_t(kLinkMaxMessage)) return invalid("message larger than 64 kB");
    QJsonParseError err;
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromRawData(text.data(), int(text.size())), &err);
    if (err.error != QJsonParseError::NoError)
        return invalid("malformed JSON at byte " + std::to_string(err.offset) + ": " + err.errorString().toStdString());
    if (!doc.isObject()) return invalid("a message is a JSON object");
    const QJsonObject o = doc.object();
    const QString type = o.value("type").toString();
    if (type == "command") return command(o);
    if (type == "subscribe") return subscribe(o);
    if (!o.contains("type")) return invalid("\"type\" missing");
    return invalid("unknown type \"" + type.left(64).toStdString() + "\"");
}

}  // namespace ts
