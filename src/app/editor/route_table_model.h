// One table of the route file (stations, signals, ...) as a Qt table model
// over the editor's document: each cell is the field as the editor shows it,
// and an edit is parsed as the route reader would parse it.
#pragma once
#include "document_table_model.h"
#include "edit/route_document.h"

namespace ts::editor {

class RouteTableModel : public DocumentTableModel {
    Q_OBJECT
public:
    RouteTableModel(edit::RouteDocument& doc, edit::TableKind kind, QObject* parent = nullptr);

    edit::TableKind kind() const { return kind_; }

protected:
    int rows() const override;
    int columns() const override;
    QString columnName(int column) const override;
    std::string cell(int row, int column) const override;
    bool setCell(int row, int column, const std::string& text, std::string* error) override;
    QVariant otherRole(const QModelIndex& index, int role) const override;

private:
    edit::RouteDocument& doc_;
    edit::TableKind kind_;
};

// The table's name as the editor's tabs and lanes show it.
QString tableTitle(edit::TableKind kind);

}  // namespace ts::editor
