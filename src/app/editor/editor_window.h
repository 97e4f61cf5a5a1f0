// The route editor's window: the video at the cursor, the timeline of every
// table under it, the tables and the one-value form beside it, and the live
// check; saving, undo and redo, and a test drive from the cursor.
#pragma once
#include <QMainWindow>
#include <functional>
#include <map>
#include <string>

#include "edit/route_document.h"
#include "test_drive.h"

class QLabel;
class QTabWidget;
class QTableView;

namespace ts::editor {

class CheckList;
class FileListsTab;
class PackageExportDialog;
class RouteTableModel;
class SingleValuesForm;
class Timeline;
class VideoPane;

class EditorWindow : public QMainWindow {
    Q_OBJECT
public:
    // `path`: where the route is saved (CODE_line.txt in the data folder).
    EditorWindow(edit::RouteDocument doc, std::string code, std::string path, QWidget* parent = nullptr);
    ~EditorWindow() override;

    edit::RouteDocument& document() { return doc_; }
    VideoPane* video() const { return video_; }
    Timeline* timeline() const { return timeline_; }
    CheckList* checks() const { return checks_; }
    SingleValuesForm* singleValues() const { return form_; }
    QTabWidget* tabs() const { return tabs_; }
    QTableView* table(edit::TableKind kind) const { return tables_.at(kind); }
    FileListsTab* fileLists() const { return fileLists_; }
    QAction* action(const QString& name) const;

    int cursorFrame() const { return cursor_; }
    void setCursorFrame(int frame);
    // To the nearest position of any row before (-1) or after (+1) the cursor.
    void stepToEvent(int direction);
    // A row of `kind` at the cursor, selected; returns its index.
    int addRow(edit::TableKind kind);
    // Every selected row of the table shown (or entry of the file lists), as one undo step.
    void deleteSelectedRow();
    // Shows a row in its table and on the timeline, the cursor at its first position.
    void showRow(edit::TableKind kind, int row, bool moveCursor);
    bool save(QString* error = nullptr);
    void testDrive();
    // File > Export route package…: the dialog, shown (null when unsaved changes were not saved).
    PackageExportDialog* exportPackage();
    // File > Open route / New route: another route in a window of its own, this one closed.
    void openOther(bool newRoute);
    // Video > Prepare a quick-seeking copy: made with a progress dialog, then used.
    void prepareCopy();
    // The timeline's standstills from the motion analysed beside the route's
    // video (after an analysis, and when the route's video changes).
    void readStandstills();
    // Tests set these: no questions on close, and a hand on the test drive's window.
    bool askOnClose = true;
    // Whether a slow-to-seek video brings the offer of a working copy.
    bool offerCopies = true;
    std::function<void(TForm1&)> onTestDriveShown;

protected:
    void closeEvent(QCloseEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    void restoreLayout();
    void saveLayout() const;
    void buildMenus();
    // Our texts again in the language now chosen (Display > Language in a test drive's window).
    void retranslate();
    // Asks whether to save unsaved changes; false when the user cancels.
    bool confirmClose();
    void buildLayout();
    void documentChanged();
    // Opens the route's video when the route names another one; the timeline
    // covers the video and the line, whichever is longer.
    void openVideo();
    void updateTitle();
    void goToFrameDialog();
    // Asks once per video whether to prepare its working copy, when one would help.
    void offerCopy();
    void showKeys();
    void tableSelectionChanged(edit::TableKind kind);

    edit::RouteDocument doc_;
    std::string code_, path_;
    VideoPane* video_ = nullptr;
    Timeline* timeline_ = nullptr;
    CheckList* checks_ = nullptr;
    SingleValuesForm* form_ = nullptr;
    FileListsTab* fileLists_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    std::map<edit::TableKind, QTableView*> tables_;
    std::map<edit::TableKind, RouteTableModel*> models_;
    std::map<QString, QAction*> actions_;
    QLabel* checkTitle_ = nullptr;
    std::string videoShown_;
    int cursor_ = 0;
    bool syncing_ = false;
};

}  // namespace ts::editor
