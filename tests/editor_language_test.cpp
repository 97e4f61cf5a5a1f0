// The route editor in Japanese and in English: its window, timeline, tables and
// dialogs show our texts in the language chosen only (the data's own names and
// the file's markers aside), and a window already open follows a change.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QMenuBar>
#include <QProgressBar>
#include <QRegularExpression>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QValueAxis>

#include <filesystem>
#include <set>

#include "check_list.h"
#include "data/file_names.h"
#include "data/route_sections.h"
#include "edit/route_tables.h"
#include "editor_window.h"
#include "file_lists_tab.h"
#include "gps_import_dialog.h"
#include "language.h"
#include "package_export.h"
#include "route_table_model.h"
#include "route_table_texts.h"
#include "speed_video_dialog.h"
#include "test_support.h"
#include "timeline.h"

using namespace ts;
using namespace ts::editor;
using edit::RouteDocument;
using edit::TableKind;

namespace {

struct DemoCopy {
    test::TempDir dir;
    std::unique_ptr<test::ScopedCwd> cwd;
    DemoCopy() {
        std::filesystem::copy(TRAINSIM_DEMO, dir.path(), std::filesystem::copy_options::recursive);
        cwd = std::make_unique<test::ScopedCwd>(dir.path());
    }
};

// The language for one test, English again after it.
struct InLanguage {
    explicit InLanguage(Language l) { useLanguage(l); }
    ~InLanguage() { useLanguage(Language::English); }
};

void shoot(QWidget& w, const QString& name) {
    const QByteArray dir = qgetenv("TRAINSIM_SCREENSHOTS");
    if (!dir.isEmpty()) w.grab().save(QString::fromUtf8(dir) + "/" + name);
}

// --- The texts a window shows people, and what may stand in either language.

void addText(QStringList& out, const QString& where, const QString& text) {
    if (!text.trimmed().isEmpty()) out << where + ": " + text;
}

void addMenu(QStringList& out, const QString& where, const QList<QAction*>& actions) {
    for (QAction* a : actions) {
        if (a->isSeparator()) continue;
        addText(out, where, a->text());
        if (a->menu()) addMenu(out, where + " > " + a->text(), a->menu()->actions());
    }
}

// Every text of a window and its children: titles, menus, labels, buttons,
// tooltips, tabs, column headers, lists, spin boxes' units, charts' names.
// The table cells and line edits hold the data, and the check list the
// readers' own messages: they are not walked.
QStringList shownTexts(QWidget* top) {
    QStringList out;
    addText(out, "title", top->windowTitle());
    QList<QWidget*> widgets = top->findChildren<QWidget*>();
    widgets.prepend(top);
    for (QWidget* w : widgets) {
        const QString name = QString::fromLatin1(w->metaObject()->className()) + "#" + w->objectName();
        if (qobject_cast<CheckList*>(w)) continue;
        if (!qobject_cast<QLineEdit*>(w)) addText(out, name + " tooltip", w->toolTip());
        if (auto* l = qobject_cast<QLabel*>(w); l && l->objectName() != "summary") addText(out, name, l->text());
        if (auto* b = qobject_cast<QAbstractButton*>(w)) addText(out, name, b->text());
        if (auto* g = qobject_cast<QGroupBox*>(w)) addText(out, name, g->title());
        if (auto* e = qobject_cast<QLineEdit*>(w)) addText(out, name + " placeholder", e->placeholderText());
        if (auto* p = qobject_cast<QProgressBar*>(w)) addText(out, name, p->format());
        if (auto* s = qobject_cast<QAbstractSpinBox*>(w)) addText(out, name, s->specialValueText());
        if (auto* c = qobject_cast<QComboBox*>(w))
            for (int i = 0; i < c->count(); ++i) addText(out, name, c->itemText(i));
        if (auto* t = qobject_cast<QTabWidget*>(w))
            for (int i = 0; i < t->count(); ++i) addText(out, name + " tab", t->tabText(i));
        if (auto* m = qobject_cast<QMenuBar*>(w)) addMenu(out, "menu", m->actions());
        if (auto* s = qobject_cast<QStatusBar*>(w)) addText(out, "status", s->currentMessage());
        if (auto* v = qobject_cast<QTableView*>(w); v && v->model())
            for (int c = 0; c < v->model()->columnCount(); ++c)
                addText(out, name + " header", v->model()->headerData(c, Qt::Horizontal).toString());
        if (auto* v = qobject_cast<QChartView*>(w)) {
            addText(out, name, v->chart()->title());
            for (QAbstractSeries* s : v->chart()->series()) addText(out, name + " series", s->name());
            for (QAbstractAxis* a : v->chart()->axes()) addText(out, name + " axis", a->titleText());
        }
    }
    for (QAbstractSpinBox* s : top->findChildren<QAbstractSpinBox*>()) {
        if (auto* d = qobject_cast<QDoubleSpinBox*>(s)) addText(out, "spin suffix", d->suffix());
        if (auto* i = qobject_cast<QSpinBox*>(s)) addText(out, "spin suffix", i->suffix());
    }
    return out;
}

bool hasJapanese(const QString& text) {
    static const QRegularExpression kana("[\\x{3040}-\\x{30ff}\\x{3400}-\\x{9fff}\\x{ff00}-\\x{ffef}]");
    return text.contains(kana);
}

// English words left in a Japanese text. Kept as they are in every language:
// the file's markers ([Station]), file names and patterns (789_line.txt,
// *.gpx), units (km/h), key names, and a few names of formats and standards.
QStringList englishWords(QString text) {
    static const std::set<QString> kept{"GPS", "GPX", "ISO", "CC", "BY",  "Ctrl", "Shift",    "Space", "Delete",
                                        "YY",  "YG",  "km",  "cm", "fps", "OK",   "trainsim", "wheel"};
    text.remove(QRegularExpression("\\[[^\\]]*\\]"));  // markers
    text.remove(QRegularExpression("<[^>]*>"));        // HTML tags
    // Whatever holds a dot, slash, underscore or star is a file, a pattern or a unit.
    text.remove(QRegularExpression("[A-Za-z0-9_\\-]*[._/*\\\\][A-Za-z0-9_.*/\\\\\\-]*"));
    QStringList words;
    static const QRegularExpression word("[A-Za-z]{2,}");
    for (auto it = word.globalMatch(text); it.hasNext();) {
        const QString w = it.next().captured();
        if (!kept.count(w)) words << w;
    }
    return words;
}

// Our texts in the other language: English words in a Japanese window,
// Japanese in an English one.
QStringList wrongLanguage(const QStringList& texts, Language shown) {
    QStringList wrong;
    for (const QString& t : texts)
        if (shown == Language::Japanese ? !englishWords(t.mid(t.indexOf(": ") + 2)).isEmpty() : hasJapanese(t))
            wrong << t;
    return wrong;
}

// Fails with the texts in the wrong language, and every text walked.
void expectOneLanguage(QWidget* top, Language shown, QStringList more = {}) {
    const QStringList texts = shownTexts(top) + more;
    const QStringList wrong = wrongLanguage(texts, shown);
    EXPECT_TRUE(wrong.isEmpty()) << "in the wrong language:\n"
                                 << wrong.join('\n').toStdString() << "\n\nall texts:\n"
                                 << texts.join('\n').toStdString();
}

std::unique_ptr<EditorWindow> openEditor() {
    std::string error;
    auto doc = RouteDocument::open("789_line.txt", &error);
    EXPECT_TRUE(doc) << error;
    auto w = std::make_unique<EditorWindow>(std::move(*doc), "789", "789_line.txt");
    w->askOnClose = false;
    w->offerCopies = false;
    w->resize(1360, 860);
    w->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    return w;
}

QString suffix(Language l) { return l == Language::Japanese ? "ja" : "en"; }

}  // namespace

// The helper's own rules: what counts as a word of the other language.
TEST(EditorLanguage, TheWordCheckKeepsMarkersFileNamesAndUnits) {
    EXPECT_TRUE(englishWords(QString::fromUtf8("[Station] の 789_line.txt を保存しました (45 km/h, *.gpx)")).isEmpty());
    EXPECT_TRUE(englishWords(QString::fromUtf8("<b>Ctrl+G</b> フレーム番号で移動")).isEmpty());
    EXPECT_EQ(englishWords(QString::fromUtf8("停車位置 stop from")), QStringList({"stop", "from"}));
    EXPECT_TRUE(hasJapanese(QString::fromUtf8("Stations 駅")));
    EXPECT_FALSE(hasJapanese("Stations (km/h) \u2030 \u00d7"));
}

// Every table and column the route file describes has its words in the list
// the editor translates from, so a new column cannot slip by in English.
TEST(EditorLanguage, EveryTableAndColumnOfTheRouteFileHasAShownName) {
    for (const SectionDesc& s : routeSections()) {
        if (s.table) {
            EXPECT_TRUE(knowsTableTitle(s.title)) << s.marker << " " << s.title;
        }
        if (!s.isList()) continue;
        for (const ColumnDesc& c : s.columns) EXPECT_TRUE(knowsColumnTitle(c.name)) << s.marker << " " << c.name;
    }
}

// The window, its menus, tabs, headers, lanes and status line, and the
// dialogs that open without a question, in each language.
TEST(EditorLanguage, TheEditorAndItsDialogsSpeakOneLanguage) {
    DemoCopy demo;
    for (const Language language : {Language::Japanese, Language::English}) {
        SCOPED_TRACE(suffix(language).toStdString());
        InLanguage in(language);
        auto w = openEditor();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !w->statusBar()->currentMessage().isEmpty(); }, 30000));
        QStringList lanes;
        for (TableKind kind : laneKinds()) lanes << "lane: " + tableTitle(kind);
        lanes << "lane: " + tableTitle(TableKind::SpeedUnit);
        expectOneLanguage(w.get(), language, lanes);
        // The tables' headers are our words, not the file's code words, in Japanese.
        const auto* stations = w->table(TableKind::Station)->model();
        EXPECT_EQ(hasJapanese(stations->headerData(2, Qt::Horizontal).toString()), language == Language::Japanese);
        EXPECT_EQ(stations->headerData(2, Qt::Horizontal, Qt::ToolTipRole).toString(), "stopFrom");
        shoot(*w, "editor-" + suffix(language) + ".png");
        w->tabs()->setCurrentWidget(w->table(TableKind::Signal));
        shoot(*w, "editor-signals-" + suffix(language) + ".png");
        w->tabs()->setCurrentWidget(w->fileLists());
        shoot(*w, "editor-file-lists-" + suffix(language) + ".png");
        shoot(*w->timeline(), "editor-timeline-" + suffix(language) + ".png");
        shoot(*w->checks(), "editor-check-list-" + suffix(language) + ".png");

        GpsImportDialog gps(w->document(), 3600, w.get());
        gps.resize(900, 700);
        gps.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&gps));
        expectOneLanguage(&gps, language);
        shoot(gps, "editor-gps-import-" + suffix(language) + ".png");
        gps.close();

        SpeedVideoDialog speed(w->document(), QString::fromStdString(resolveDataPath(w->document().route().videoFile)),
                               w.get());
        speed.resize(900, 640);
        speed.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&speed));
        speed.analyse();
        ASSERT_TRUE(QTest::qWaitFor([&] { return speed.analysed() && !speed.analysing(); }, 600'000));
        expectOneLanguage(&speed, language);
        EXPECT_EQ(hasJapanese(speed.summary()), language == Language::Japanese) << speed.summary().toStdString();
        shoot(speed, "editor-speed-from-video-" + suffix(language) + ".png");
        speed.close();

        PackageExportDialog pack("789", w.get());
        pack.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&pack));
        expectOneLanguage(&pack, language);
        shoot(pack, "editor-package-export-" + suffix(language) + ".png");
        pack.close();
    }
}

// A window open when the language changes follows it: menus, tabs, headers,
// the form's labels and the file lists.
TEST(EditorLanguage, AnOpenEditorFollowsALanguageChange) {
    DemoCopy demo;
    auto w = openEditor();
    expectOneLanguage(w.get(), Language::English);
    const QString fileMenu = w->menuBar()->actions().first()->text();
    {
        InLanguage in(Language::Japanese);
        QApplication::processEvents();
        EXPECT_NE(w->menuBar()->actions().first()->text(), fileMenu);
        expectOneLanguage(w.get(), Language::Japanese);
        ASSERT_TRUE(w->action("save"));
        EXPECT_TRUE(hasJapanese(w->action("save")->text()));
        // The keys still work after the menus were made anew.
        w->setCursorFrame(500);
        QTest::keyClick(w.get(), Qt::Key_Period);
        EXPECT_EQ(w->cursorFrame(), 501);
    }
    QApplication::processEvents();
    EXPECT_EQ(w->menuBar()->actions().first()->text(), fileMenu);
    expectOneLanguage(w.get(), Language::English);
}
