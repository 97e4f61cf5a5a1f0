// The route editor's tab for the lists of pictures and sounds that rows refer
// to by number ([SoundData], the call-out waves, the signal, sign and other
// pictures): entries added with a file chooser in the data folder, edited,
// deleted several at a time, with a preview of the chosen picture.
#pragma once
#include <QWidget>
#include <string>

#include "document_table_model.h"
#include "edit/route_document.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTableView;

namespace ts::editor {

// One file list as a table: a column per line of an entry.
class FileListModel : public DocumentTableModel {
    Q_OBJECT
public:
    FileListModel(edit::RouteDocument& doc, QObject* parent = nullptr);

    void setList(const std::string& marker);
    const std::string& marker() const { return marker_; }

protected:
    int rows() const override;
    int columns() const override;
    QString columnName(int column) const override;
    std::string cell(int row, int column) const override;
    bool setCell(int row, int column, const std::string& text, std::string* error) override;
    QVariant otherRole(const QModelIndex& index, int role) const override;

private:
    edit::RouteDocument& doc_;
    std::string marker_;
};

// The list's name as the tab's chooser shows it.
QString fileListTitle(const std::string& marker);

// A file chosen anywhere, named as a data file names it (relative to the data
// folder, "/" separators). A file outside the folder is offered to be copied
// into it; empty when refused or cancelled (`why` says why when it failed).
std::string dataFileName(QWidget* parent, const QString& chosen, QString* why);

class FileListsTab : public QWidget {
    Q_OBJECT
public:
    FileListsTab(edit::RouteDocument& doc, QWidget* parent = nullptr);

    QComboBox* chooser() const { return chooser_; }
    QTableView* table() const { return table_; }
    QLabel* preview() const { return preview_; }
    FileListModel* model() const { return model_; }
    void showList(const std::string& marker);
    // The document changed underneath.
    void reload();

    // Adds an entry after the selection (at the end without one) naming
    // `file` (asked with a file chooser when empty); its index or -1.
    int addEntry(const QString& file = {});
    // Sets the selected cell's file (asked when empty).
    bool replaceFile(const QString& file = {});
    // Every selected entry, as one undo step.
    void deleteSelected();

signals:
    void message(const QString& text);

protected:
    void changeEvent(QEvent* e) override;

private:
    // The selected entry's picture, or why there is none.
    void updatePreview();
    void updateButtons();
    QString askFile(int column);

    edit::RouteDocument& doc_;
    QComboBox* chooser_;
    QTableView* table_;
    FileListModel* model_;
    QLabel* preview_;
    QLabel* note_;
    QPushButton *add_, *replace_, *remove_;
};

}  // namespace ts::editor
