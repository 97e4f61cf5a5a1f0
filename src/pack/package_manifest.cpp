#include "pack/package_manifest.h"

#include <QCryptographicHash>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "text/our_text.h"

namespace ts::pack {

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }
std::string s(const QJsonValue& v) { return v.toString().toStdString(); }

bool isHexDigest(const std::string& h) {
    if (h.size() != 64) return false;
    for (char c : h)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    return true;
}

}  // namespace

std::string sha256Hex(std::string_view bytes) {
    return QCryptographicHash::hash(QByteArrayView(bytes.data(), qsizetype(bytes.size())), QCryptographicHash::Sha256)
        .toHex()
        .toStdString();
}

std::string sha256OfFile(const std::string& path) {
    QFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::ReadOnly)) return {};
    QCryptographicHash h(QCryptographicHash::Sha256);
    if (!h.addData(&f)) return {};
    return h.result().toHex().toStdString();
}

std::string manifestText(const PackageManifest& m) {
    QJsonObject o;
    o["format"] = m.format;
    o["trainCode"] = q(m.trainCode);
    o["lineName"] = q(m.lineName);
    if (!m.author.empty()) o["author"] = q(m.author);
    if (!m.licence.empty()) o["licence"] = q(m.licence);
    o["programVersion"] = q(m.programVersion);
    o["videoFile"] = q(m.videoFile);
    o["withVideo"] = m.withVideo;
    QJsonArray files;
    for (const auto& [name, sum] : m.files) files.append(QJsonObject{{"name", q(name)}, {"sha256", q(sum)}});
    o["files"] = files;
    return QJsonDocument(o).toJson(QJsonDocument::Indented).toStdString();
}

std::optional<PackageManifest> parseManifest(std::string_view text, std::string* error) {
    QJsonParseError parseError{};
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray(text.data(), qsizetype(text.size())), &parseError);
    if (!doc.isObject()) {
        *error =
            withArgs(trText("Packages", "the manifest is not readable: %1"), {parseError.errorString().toStdString()});
        return std::nullopt;
    }
    const QJsonObject o = doc.object();
    PackageManifest m;
    m.format = o["format"].toInt(0);
    if (m.format < 1 || m.format > kPackageFormat) {
        *error = withArgs(trText("Packages", "the package's format %1 is not one this program reads (up to %2)"),
                          {std::to_string(m.format), std::to_string(kPackageFormat)});
        return std::nullopt;
    }
    m.trainCode = s(o["trainCode"]);
    m.lineName = s(o["lineName"]);
    m.author = s(o["author"]);
    m.licence = s(o["licence"]);
    m.programVersion = s(o["programVersion"]);
    m.videoFile = s(o["videoFile"]);
    m.withVideo = o["withVideo"].toBool(false);
    if (m.trainCode.empty()) {
        *error = trText("Packages", "the manifest names no train code");
        return std::nullopt;
    }
    for (const QJsonValue& f : o["files"].toArray()) {
        const std::string name = s(f.toObject()["name"]), sum = s(f.toObject()["sha256"]);
        if (name.empty() || !isHexDigest(sum)) {
            *error = trText("Packages", "the manifest's file list is damaged");
            return std::nullopt;
        }
        m.files.emplace_back(name, sum);
    }
    return m;
}

}  // namespace ts::pack
