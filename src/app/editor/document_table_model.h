// What the route editor's tables over its document share, the route's own
// tables and the lists of files alike: a cell is shown as a name is shown
// everywhere and edited as the file holds it, an edit the reader would refuse
// is reported with why, and a reload keeps the rows when their number stands.
#pragma once
#include <QAbstractTableModel>
#include <functional>
#include <string>

namespace ts::editor {

class DocumentTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
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

protected:
    // `firstRowNumber`: the number the row header gives the first row.
    explicit DocumentTableModel(int firstRowNumber, QObject* parent);

    // The rows counted again after `change` (another table shown), inside
    // one reset of the model.
    void resetRows(const std::function<void()>& change = {});

    virtual int rows() const = 0;
    virtual int columns() const = 0;
    virtual QString columnName(int column) const = 0;
    virtual std::string cell(int row, int column) const = 0;
    virtual bool setCell(int row, int column, const std::string& text, std::string* error) = 0;
    // A role other than the cell's text (its alignment, a tool tip); the cell is valid.
    virtual QVariant otherRole(const QModelIndex& index, int role) const;

private:
    int firstRowNumber_;
    int shownRows_ = 0;
};

}  // namespace ts::editor
