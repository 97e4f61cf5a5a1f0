#include "document_table_model.h"

#include "route_table_texts.h"
#include "shown_text.h"

namespace ts::editor {

DocumentTableModel::DocumentTableModel(int firstRowNumber, QObject* parent)
    : QAbstractTableModel(parent), firstRowNumber_(firstRowNumber) {}

int DocumentTableModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : shownRows_; }

int DocumentTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : columns(); }

QVariant DocumentTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) return {};
    if (role == Qt::DisplayRole) return shownText(cell(index.row(), index.column()));
    if (role == Qt::EditRole) return QString::fromStdString(cell(index.row(), index.column()));
    return otherRole(index, role);
}

QVariant DocumentTableModel::otherRole(const QModelIndex&, int) const { return {}; }

QVariant DocumentTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
    if (orientation == Qt::Vertical) return role == Qt::DisplayRole ? QVariant(section + firstRowNumber_) : QVariant();
    if (section < 0 || section >= columnCount()) return {};
    // Shown in the user's language; the tooltip names the column as the file's format does.
    const QString name = columnName(section);
    return role == Qt::DisplayRole ? columnTitle(name.toStdString()) : name;
}

Qt::ItemFlags DocumentTableModel::flags(const QModelIndex& index) const {
    return QAbstractTableModel::flags(index) | Qt::ItemIsEditable;
}

bool DocumentTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid()) return false;
    const std::string text = value.toString().toStdString();
    if (text == cell(index.row(), index.column())) return false;
    std::string error;
    if (!setCell(index.row(), index.column(), text, &error)) {
        emit editRefused(QString::fromStdString(error));
        return false;
    }
    return true;
}

void DocumentTableModel::reload() {
    // Keeping the rows when their number stands keeps the view's selection
    // and an open cell editor, as most edits change values only.
    const int n = rows();
    if (n == shownRows_ && n > 0) {
        emit dataChanged(index(0, 0), index(n - 1, columnCount() - 1));
        return;
    }
    resetRows();
}

void DocumentTableModel::resetRows(const std::function<void()>& change) {
    beginResetModel();
    if (change) change();
    shownRows_ = rows();
    endResetModel();
}

}  // namespace ts::editor
