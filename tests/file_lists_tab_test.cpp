// The route editor's tab of picture and sound lists under the offscreen
// platform, and the tables' deletion of several rows at once.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <filesystem>

#include "data/file_names.h"
#include "edit/route_document.h"
#include "editor_window.h"
#include "file_lists_tab.h"
#include "test_support.h"

using namespace ts;
using namespace ts::editor;
using edit::RouteDocument;
using edit::TableKind;

namespace {

// The demo data set copied into a scratch folder that is the current folder.
struct DemoFolder {
    test::TempDir dir;
    std::unique_ptr<test::ScopedCwd> cwd;
    DemoFolder() {
        std::filesystem::copy(TRAINSIM_DEMO, dir.path(), std::filesystem::copy_options::recursive);
        cwd = std::make_unique<test::ScopedCwd>(dir.path());
    }
};

std::unique_ptr<EditorWindow> openEditor(const std::string& code) {
    std::string error;
    auto doc = RouteDocument::open(code + "_line.txt", &error);
    EXPECT_TRUE(doc) << error;
    auto w = std::make_unique<EditorWindow>(std::move(*doc), code, code + "_line.txt");
    w->askOnClose = false;
    w->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    return w;
}

// Clicks `button` of the box named `box` as soon as it shows.
void clickWhenShown(const char* box, const char* button) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, box, button] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->objectName() != box || !w->isVisible()) continue;
            if (auto* b = w->findChild<QPushButton*>(button)) {
                timer->stop();
                timer->deleteLater();
                b->click();
            }
        }
    });
    timer->start(50);
}

void selectRows(QTableView* view, const std::vector<int>& rows) {
    view->clearSelection();
    for (int r : rows)
        view->selectionModel()->select(view->model()->index(r, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

}  // namespace

TEST(FileListsTab, PicturesAreAddedPreviewedDeletedSeveralAtOnceAndUndone) {
    DemoFolder demo;
    auto w = openEditor("789");
    FileListsTab* tab = w->fileLists();
    ASSERT_NE(tab, nullptr);
    w->tabs()->setCurrentWidget(tab);
    tab->showList("[SignalImageList]");
    EXPECT_EQ(tab->chooser()->currentData().toString(), "[SignalImageList]");
    const int before = w->document().listCount("[SignalImageList]");
    ASSERT_GE(before, 3);
    ASSERT_EQ(tab->model()->rowCount(), before);
    const std::string first = w->document().listText("[SignalImageList]", 0, 0);

    // The first signal picture, shown twice its size.
    tab->table()->selectRow(0);
    const QImage picture(QString::fromStdString(resolveDataPath(first)));
    ASSERT_FALSE(picture.isNull()) << first;
    ASSERT_LE(picture.height() * 2, tab->preview()->minimumHeight() - 8) << "a signal picture fits twice its size";
    const QPixmap shown = tab->preview()->pixmap();
    ASSERT_FALSE(shown.isNull()) << tab->preview()->text().toStdString();
    EXPECT_EQ(shown.size(), picture.size() * 2);

    // A picture of the folder, chosen by its full path, is named relative to it, after the selection.
    const std::string inside = (demo.dir.path() / "image" / "789" / "signal0.png").string();
    ASSERT_TRUE(std::filesystem::is_regular_file(inside));
    EXPECT_EQ(tab->addEntry(QString::fromStdString(inside)), 1);
    EXPECT_EQ(w->document().listCount("[SignalImageList]"), before + 1);
    EXPECT_EQ(w->document().listText("[SignalImageList]", 1, 0), "image/789/signal0.png");
    EXPECT_EQ(w->document().route().SignalImageList.pictures.size(), size_t(before + 1));

    // One from elsewhere is copied into the folder when the author agrees.
    test::TempDir elsewhere;
    const QString outside = QString::fromStdString((elsewhere.path() / "far.png").string());
    QImage far(50, 100, QImage::Format_RGB32);
    far.fill(Qt::red);
    ASSERT_TRUE(far.save(outside));
    clickWhenShown("fileOutsideFolder", "copy");
    tab->table()->selectRow(before);  // the last
    EXPECT_EQ(tab->addEntry(outside), before + 1);
    EXPECT_EQ(w->document().listText("[SignalImageList]", before + 1, 0), "far.png");
    EXPECT_TRUE(std::filesystem::is_regular_file(demo.dir.path() / "far.png"));
    EXPECT_FALSE(tab->preview()->pixmap().isNull()) << "the new entry is selected and previewed";
    const QByteArray shots = qgetenv("TRAINSIM_SCREENSHOTS");
    if (!shots.isEmpty()) w->grab().save(QString::fromUtf8(shots) + "/editor-pictures-tab.png");

    // The same name again: the file in the folder is not overwritten, and the author is told.
    QSignalSpy said(tab, &FileListsTab::message);
    clickWhenShown("fileOutsideFolder", "copy");
    EXPECT_EQ(tab->addEntry(outside), -1);
    ASSERT_EQ(said.count(), 1);
    EXPECT_TRUE(said.at(0).at(0).toString().contains("already")) << said.at(0).at(0).toString().toStdString();
    EXPECT_EQ(w->document().listCount("[SignalImageList]"), before + 2);

    // Both added entries selected and deleted (the Delete key's action): one undo brings them back.
    const std::string withBoth = w->document().bytes();
    selectRows(tab->table(), {1, before + 1});
    w->action("delete")->trigger();
    EXPECT_EQ(w->document().listCount("[SignalImageList]"), before);
    EXPECT_EQ(w->document().listText("[SignalImageList]", 0, 0), first);
    EXPECT_EQ(tab->model()->rowCount(), before);
    w->action("undo")->trigger();
    EXPECT_EQ(w->document().bytes(), withBoth);
    EXPECT_EQ(tab->model()->rowCount(), before + 2);
}

TEST(FileListsTab, TheFixedCallOutListOffersNoAddOrDeleteAndAWaveHasNoPreview) {
    DemoFolder demo;
    auto w = openEditor("789");
    FileListsTab* tab = w->fileLists();
    tab->showList("[SoundData]");
    ASSERT_GT(tab->model()->rowCount(), 0);
    tab->table()->selectRow(0);
    EXPECT_TRUE(tab->preview()->pixmap().isNull());
    EXPECT_FALSE(tab->preview()->text().isEmpty());
    EXPECT_TRUE(tab->findChild<QPushButton*>("deleteEntries")->isEnabled());

    // Typed into the cell as into any table; a comma is refused with the reason.
    const QModelIndex cell = tab->model()->index(0, 0);
    EXPECT_TRUE(tab->model()->setData(cell, "sound/other.wav", Qt::EditRole));
    EXPECT_EQ(w->document().listText("[SoundData]", 0, 0), "sound/other.wav");
    QSignalSpy refused(tab->model(), &FileListModel::editRefused);
    EXPECT_FALSE(tab->model()->setData(cell, "a,b.wav", Qt::EditRole));
    EXPECT_EQ(refused.count(), 1);

    ASSERT_EQ(w->document().listCount("[KankoSound1]"), 28);
    tab->showList("[KankoSound1]");
    tab->table()->selectRow(0);
    EXPECT_FALSE(tab->findChild<QPushButton*>("addEntry")->isEnabled());
    EXPECT_FALSE(tab->findChild<QPushButton*>("deleteEntries")->isEnabled());
    EXPECT_TRUE(tab->findChild<QPushButton*>("replaceFile")->isEnabled());
}

TEST(EditorTables, SeveralSelectedRowsAreDeletedAtOnceAndUndoneInOneStep) {
    DemoFolder demo;
    auto w = openEditor("789");
    QTableView* stations = w->table(TableKind::Station);
    ASSERT_EQ(stations->selectionMode(), QAbstractItemView::ExtendedSelection);
    const int rows = w->document().rowCount(TableKind::Station);
    ASSERT_GE(rows, 4);
    const std::string first = w->document().text(TableKind::Station, 0, 0);
    const std::string last = w->document().text(TableKind::Station, rows - 1, 0);
    const std::string before = w->document().bytes();
    w->tabs()->setCurrentWidget(stations);
    selectRows(stations, {1, 2});
    w->action("delete")->trigger();
    ASSERT_EQ(w->document().rowCount(TableKind::Station), rows - 2);
    EXPECT_EQ(w->document().text(TableKind::Station, 0, 0), first);
    EXPECT_EQ(w->document().text(TableKind::Station, rows - 3, 0), last);
    w->action("undo")->trigger();
    EXPECT_EQ(w->document().bytes(), before) << "one step";
}
