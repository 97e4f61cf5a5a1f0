#include "check_list.h"

#include <QStyle>

#include "check_devices.h"
#include "edit/route_tables.h"
#include "qt_pictures.h"

namespace ts::editor {

namespace {
constexpr int kRowRole = Qt::UserRole;
constexpr int kKindRole = Qt::UserRole + 1;
}  // namespace

CheckList::CheckList(const edit::RouteDocument& doc, std::string code, QWidget* parent)
    : QListWidget(parent), doc_(doc), code_(std::move(code)) {
    setObjectName("checkList");
    setWordWrap(true);
    timer_.setSingleShot(true);
    timer_.setInterval(400);
    connect(&timer_, &QTimer::timeout, this, [this] { checkNow(); });
    connect(this, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        const QVariant row = item->data(kRowRole);
        if (!row.isValid()) return;
        if (const auto kind = edit::tableKind(item->data(kKindRole).toString().toStdString()))
            emit rowChosen(*kind, row.toInt());
    });
}

void CheckList::scheduleCheck() { timer_.start(); }

void CheckList::checkNow() {
    timer_.stop();
    QtPictures pictures;
    CheckDevices devices = realCheckDevices(pictures);
    const Diagnostics found = edit::checkDocument(doc_, code_, devices);
    clear();
    errors_ = found.count(Severity::Error);
    warnings_ = found.count(Severity::Warning);
    for (const Diagnostic& d : found.items()) {
        QString where = QString::fromStdString(d.file);
        if (d.line > 0) where += ":" + QString::number(d.line);
        const std::string place = placeText(d);
        if (!place.empty()) where += " " + QString::fromStdString(place);
        QString text = where + "\n" + QString::fromStdString(d.message.empty() ? d.explanation : d.message);
        if (!d.message.empty() && !d.explanation.empty()) text += " " + QString::fromStdString(d.explanation);
        auto* item = new QListWidgetItem(text, this);
        const auto icon = d.severity == Severity::Error     ? QStyle::SP_MessageBoxCritical
                          : d.severity == Severity::Warning ? QStyle::SP_MessageBoxWarning
                                                            : QStyle::SP_MessageBoxInformation;
        item->setIcon(style()->standardIcon(icon));
        if (const auto row = edit::rowOf(d)) {
            item->setData(kKindRole,
                          QString::fromUtf8(row->first.marker().data(), qsizetype(row->first.marker().size())));
            item->setData(kRowRole, row->second);
        }
    }
    if (count() == 0) {
        auto* item = new QListWidgetItem(tr("No problems found."), this);
        item->setFlags(Qt::ItemIsEnabled);
    }
    emit checked(errors_, warnings_);
}

}  // namespace ts::editor
