// The route editor in Japanese and in English: its window, timeline, tables and
// dialogs show our texts in the language chosen only (the data's own names and
// the file's markers aside), and a window already open follows a change.
#include <gtest/gtest.h>

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QDoubleSpinBox>
#include <QMenuBar>
#include <QProgressBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <filesystem>
#include <functional>

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
#include "shown_text_check.h"
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

// --- The texts a window shows people (tests/shown_text_check.h), with what
// the editor shows beyond them: the status line, the charts, spin boxes' units.

void addExtra(std::vector<test::ShownTextItem>& out, const QString& where, const QString& text) {
    if (!text.trimmed().isEmpty()) out.push_back({where, text.trimmed()});
}

std::vector<test::ShownTextItem> shownTexts(QWidget* top, const QStringList& more = {}) {
    std::vector<test::ShownTextItem> out;
    // The speed summary's lines are the motion tools' own words.
    for (test::ShownTextItem& item : test::shownTextsOf(top))
        if (!item.where.startsWith("QLabel#summary")) out.push_back(std::move(item));
    for (const QString& m : more) addExtra(out, "timeline lane", m);
    for (auto* s : top->findChildren<QStatusBar*>()) addExtra(out, "status", s->currentMessage());
    for (auto* v : top->findChildren<QChartView*>()) {
        addExtra(out, "chart", v->chart()->title());
        for (QAbstractSeries* series : v->chart()->series()) addExtra(out, "chart series", series->name());
        for (QAbstractAxis* a : v->chart()->axes()) addExtra(out, "chart axis", a->titleText());
    }
    for (auto* d : top->findChildren<QDoubleSpinBox*>()) addExtra(out, "spin box", d->prefix() + d->suffix());
    for (auto* i : top->findChildren<QSpinBox*>()) addExtra(out, "spin box", i->prefix() + i->suffix());
    for (auto* p : top->findChildren<QProgressBar*>()) addExtra(out, "progress", p->format());
    return out;
}

// Kept in every language: the route file's markers ("[Station]"), the
// format and key names, the program's name.
test::ShownTextAllowance allowance() {
    test::ShownTextAllowance a;
    for (const SectionDesc& s : routeSections()) a.texts << QString::fromStdString(s.marker);
    a.words = {"GPS", "GPX", "ISO", "Ctrl", "Shift", "Space", "Delete", "trainsim"};
    return a;
}

bool hasJapanese(const QString& text) {
    const auto chars = text.toUcs4();
    return std::any_of(chars.begin(), chars.end(), [](char32_t c) { return test::isJapaneseChar(c); });
}

// Fails with the texts of ours in the other language (English words in
// Japanese, Japanese in English), and every text walked.
void expectOneLanguage(QWidget* top, Language shown, const QStringList& more = {}) {
    const auto texts = shownTexts(top, more);
    const QStringList wrong = shown == Language::Japanese ? test::englishOfOurs(texts, allowance())
                                                          : test::japaneseOfOurs(texts, allowance());
    QStringList all;
    for (const auto& t : texts) all << t.where + ": " + t.text;
    EXPECT_TRUE(wrong.isEmpty()) << "in the wrong language:\n"
                                 << wrong.join('\n').toStdString() << "\n\nall texts:\n"
                                 << all.join('\n').toStdString();
}

// Runs `look` on the next modal window once it shows, then closes it.
void whenModalShows(std::function<void(QWidget*)> look) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, look] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible()) return;
        poll->stop();
        poll->deleteLater();
        look(modal);
        modal->close();
    });
    poll->start(20);
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

// Every table and column the route file describes has its words in the list
// the editor translates from, so a new column cannot slip by in English.
TEST(EditorLanguage, EveryTableAndColumnOfTheRouteFileHasAShownName) {
    for (const SectionDesc& s : routeSections()) {
        if (s.tab > 0) {
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
        for (TableKind kind : laneKinds()) lanes << tableTitle(kind);
        lanes << tableTitle(TableKind::SpeedUnit);
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

        // Help > Keys: the table of keys in a message box.
        bool looked = false;
        whenModalShows([&](QWidget* box) {
            expectOneLanguage(box, language);
            shoot(*box, "editor-keys-" + suffix(language) + ".png");
            looked = true;
        });
        w->action("keys")->trigger();
        EXPECT_TRUE(looked);
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
