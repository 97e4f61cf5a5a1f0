// One table of the route file (stations, signals, ...) as a Qt table model
// over the editor's document: each cell is the field as the editor shows it,
// and an edit is parsed as the route reader would parse it.
#pragma once
#include <QAbstractTableModel>

#include "edit/route_document.h"

namespace ts::editor {

class RouteTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    RouteTableModel(edit::RouteDocument& doc, edit::TableKind kind, QObject* parent = nullptr);

    edit::TableKind kind() const { return kind_; }
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    // The document changed underneath: shows it as it now stands.
    void reload();

signals:
    // An edit the reader would refuse, with why.
    void editRefused(const QString& why);

private:
    edit::RouteDocument& doc_;
    edit::TableKind kind_;
    int shownRows_;
};

// The table's name as the editor's tabs and lanes show it.
QString tableTitle(edit::TableKind kind);

}  // namespace ts::editor
