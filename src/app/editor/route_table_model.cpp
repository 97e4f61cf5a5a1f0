#include "route_table_model.h"

#include "route_table_texts.h"

#include <QCoreApplication>

namespace ts::editor {

using edit::FieldInfo;
using edit::TableKind;

QString tableTitle(TableKind kind) { return shownTableTitle(kind.section().title); }

// Rows are numbered from 1, as the checker's messages number them.
RouteTableModel::RouteTableModel(edit::RouteDocument& doc, TableKind kind, QObject* parent)
    : DocumentTableModel(1, parent), doc_(doc), kind_(kind) {
    resetRows();
}

int RouteTableModel::rows() const { return doc_.rowCount(kind_); }

int RouteTableModel::columns() const { return int(doc_.fields(kind_).size()); }

QString RouteTableModel::columnName(int column) const {
    return QString::fromStdString(doc_.fields(kind_)[size_t(column)].name);
}

std::string RouteTableModel::cell(int row, int column) const { return doc_.text(kind_, row, column); }

bool RouteTableModel::setCell(int row, int column, const std::string& text, std::string* error) {
    return doc_.setText(kind_, row, column, text, error);
}

QVariant RouteTableModel::otherRole(const QModelIndex& index, int role) const {
    if (role != Qt::TextAlignmentRole) return {};
    const auto type = doc_.fields(kind_)[size_t(index.column())].type;
    return type == FieldInfo::Type::Text ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                                         : QVariant(Qt::AlignRight | Qt::AlignVCenter);
}

}  // namespace ts::editor
