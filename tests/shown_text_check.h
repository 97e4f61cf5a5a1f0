// The language check of a window: every text a window shows to people (title,
// labels, buttons, actions and menus, tooltips, table headers, group boxes,
// combo items, tabs, placeholders, text views) is collected, then searched for
// English words of ours in the Japanese program and for Japanese of ours in the
// English one. What the Parts fix and what the data names is allowed: callers
// pass those texts, and the words (units, option names, data names) that may
// stand in either language.
#pragma once

#include <QString>
#include <QStringList>

#include <vector>

class QWidget;

namespace ts::test {

// One text a window shows and where it stands ("QLabel#name text", "QAction tooltip").
struct ShownTextItem {
    QString where;
    QString text;
};

// Every text shown by `root` and its descendants, including its menus' and
// widgets' actions (submenus too) and item views' header texts. Rich text is
// reduced to its plain words.
std::vector<ShownTextItem> shownTextsOf(const QWidget* root);

struct ShownTextAllowance {
    // Whole texts that may stand anywhere inside a shown text and are removed
    // before the search: the Parts' own captions ("一時停止(S)"), data names
    // ("桜ヶ丘"), option names ("--lang").
    QStringList texts;
    // Words of three or more ASCII letters allowed in the Japanese program,
    // compared ignoring case: units ("km/h" gives "km"), names ("ATS", "Qt").
    QStringList words;
};

// The texts (as "where: text") that hold an English word of ours: a run of
// three or more ASCII letters not allowed. Meant for the Japanese program.
QStringList englishOfOurs(const std::vector<ShownTextItem>& shown, const ShownTextAllowance& allowed);

// The texts (as "where: text") that hold Japanese (kana, CJK ideographs,
// full-width forms and Japanese punctuation) outside the allowed texts. Meant
// for the English program.
QStringList japaneseOfOurs(const std::vector<ShownTextItem>& shown, const ShownTextAllowance& allowed);

// The lines of a list of allowed texts (tests/fixtures/fixed_texts.txt holds
// the system's own ones): UTF-8, one a line, "#" starts a comment line.
QStringList allowedTextsFrom(const QString& file);

// True for a character of Japanese writing.
bool isJapaneseChar(char32_t c);

}  // namespace ts::test
