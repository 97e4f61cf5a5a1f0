#include "route_table_model.h"

#include "shown_text.h"

#include <QCoreApplication>

namespace ts::editor {

using edit::FieldInfo;
using edit::TableKind;

QString tableTitle(TableKind kind) {
    return QCoreApplication::translate("RouteTables", kind.section().title.c_str());
}

RouteTableModel::RouteTableModel(edit::RouteDocument& doc, TableKind kind, QObject* parent)
    : QAbstractTableModel(parent), doc_(doc), kind_(kind), shownRows_(doc.rowCount(kind)) {}

int RouteTableModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : shownRows_; }

int RouteTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(doc_.fields(kind_).size());
}

QVariant RouteTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) return {};
    // Shown as a name is shown everywhere; edited as the file holds it.
    if (role == Qt::DisplayRole) return shownText(doc_.text(kind_, index.row(), index.column()));
    if (role == Qt::EditRole) return QString::fromStdString(doc_.text(kind_, index.row(), index.column()));
    if (role == Qt::TextAlignmentRole) {
        const auto type = doc_.fields(kind_)[size_t(index.column())].type;
        return type == FieldInfo::Type::Text ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                                             : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    }
    return {};
}

QVariant RouteTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    const auto& fields = doc_.fields(kind_);
    if (section < 0 || size_t(section) >= fields.size()) return {};
    return QString::fromStdString(fields[size_t(section)].name);
}

Qt::ItemFlags RouteTableModel::flags(const QModelIndex& index) const {
    return QAbstractTableModel::flags(index) | Qt::ItemIsEditable;
}

bool RouteTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid()) return false;
    const std::string text = value.toString().toStdString();
    if (text == doc_.text(kind_, index.row(), index.column())) return false;
    std::string error;
    if (!doc_.setText(kind_, index.row(), index.column(), text, &error)) {
        emit editRefused(QString::fromStdString(error));
        return false;
    }
    return true;
}

void RouteTableModel::reload() {
    // Keeping the rows when their number stands keeps the view's selection
    // and an open cell editor, as most edits change values only.
    const int rows = doc_.rowCount(kind_);
    if (rows == shownRows_ && rows > 0) {
        emit dataChanged(index(0, 0), index(rows - 1, columnCount() - 1));
        return;
    }
    beginResetModel();
    shownRows_ = rows;
    endResetModel();
}

}  // namespace ts::editor
