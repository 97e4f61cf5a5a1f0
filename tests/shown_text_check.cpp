#include "shown_text_check.h"

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QSet>
#include <QTabWidget>
#include <QTextDocumentFragment>
#include <QTextEdit>
#include <QWidget>

#include <algorithm>

namespace ts::test {
namespace {

QString plainOf(const QString& text) {
    if (Qt::mightBeRichText(text)) return QTextDocumentFragment::fromHtml(text).toPlainText();
    return text;
}

QString nameOf(const QObject* object) {
    QString name = QString::fromLatin1(object->metaObject()->className());
    if (!object->objectName().isEmpty()) name += QLatin1Char('#') + object->objectName();
    return name;
}

class Collector {
public:
    void add(const QString& where, const QString& text) {
        const QString plain = plainOf(text).trimmed();
        if (!plain.isEmpty()) items.push_back({where, plain});
    }

    void addAction(const QAction* action, const QString& where) {
        if (!action || seenActions.contains(action)) return;
        seenActions.insert(action);
        if (action->isSeparator()) return;
        add(where + QStringLiteral(" action"), action->text());
        if (action->toolTip() != QString(action->text()).remove(QLatin1Char('&')))
            add(where + QStringLiteral(" action tooltip"), action->toolTip());
        add(where + QStringLiteral(" action status tip"), action->statusTip());
        if (const QMenu* menu = action->menu()) addWidget(menu);
    }

    void addHeaders(const QAbstractItemModel* model, const QString& where) {
        if (!model) return;
        // Sections Qt numbers carry numbers, not texts: only named ones are ours.
        for (int c = 0; c < model->columnCount(); ++c) {
            const QVariant header = model->headerData(c, Qt::Horizontal);
            if (header.typeId() == QMetaType::QString) add(where + QStringLiteral(" column header"), header.toString());
        }
        for (int r = 0; r < model->rowCount(); ++r) {
            const QVariant header = model->headerData(r, Qt::Vertical);
            if (header.typeId() == QMetaType::QString) add(where + QStringLiteral(" row header"), header.toString());
        }
    }

    void addWidget(const QWidget* widget) {
        if (!widget || seenWidgets.contains(widget)) return;
        seenWidgets.insert(widget);
        const QString where = nameOf(widget);
        if (widget->isWindow()) add(where + QStringLiteral(" title"), widget->windowTitle());
        add(where + QStringLiteral(" tooltip"), widget->toolTip());
        add(where + QStringLiteral(" what's this"), widget->whatsThis());
        if (auto label = qobject_cast<const QLabel*>(widget)) add(where, label->text());
        if (auto button = qobject_cast<const QAbstractButton*>(widget)) add(where, button->text());
        if (auto group = qobject_cast<const QGroupBox*>(widget)) add(where, group->title());
        // A menu reached through its action has had its title read there.
        if (auto menu = qobject_cast<const QMenu*>(widget))
            if (!seenActions.contains(menu->menuAction())) add(where + QStringLiteral(" title"), menu->title());
        if (auto edit = qobject_cast<const QLineEdit*>(widget))
            add(where + QStringLiteral(" placeholder"), edit->placeholderText());
        if (auto edit = qobject_cast<const QTextEdit*>(widget)) add(where, edit->toPlainText());
        if (auto edit = qobject_cast<const QPlainTextEdit*>(widget)) add(where, edit->toPlainText());
        if (auto combo = qobject_cast<const QComboBox*>(widget))
            for (int i = 0; i < combo->count(); ++i) add(where + QStringLiteral(" item"), combo->itemText(i));
        if (auto tabs = qobject_cast<const QTabWidget*>(widget))
            for (int i = 0; i < tabs->count(); ++i) {
                add(where + QStringLiteral(" tab"), tabs->tabText(i));
                add(where + QStringLiteral(" tab tooltip"), tabs->tabToolTip(i));
            }
        // A header view shows its table's model, read with the table.
        if (auto view = qobject_cast<const QAbstractItemView*>(widget); view && !qobject_cast<const QHeaderView*>(view))
            addHeaders(view->model(), where);
        for (const QAction* action : widget->actions()) addAction(action, where);
        for (const QObject* child : widget->children())
            if (auto childWidget = qobject_cast<const QWidget*>(child)) addWidget(childWidget);
    }

    std::vector<ShownTextItem> items;
    QSet<const QWidget*> seenWidgets;
    QSet<const QAction*> seenActions;
};

bool isAsciiLetter(QChar c) {
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}

// The text with every allowed text taken out (longest first, so that a
// caption holding a shorter allowed name goes whole). An allowed text counts
// only as a whole word: "Power" does not hide "Powered".
QString withoutAllowed(QString text, const ShownTextAllowance& allowed) {
    QStringList texts;
    for (const QString& t : allowed.texts)
        if (!t.trimmed().isEmpty()) texts << t.trimmed();
    std::sort(texts.begin(), texts.end(), [](const QString& a, const QString& b) { return a.size() > b.size(); });
    for (const QString& t : texts) {
        qsizetype from = 0;
        while ((from = text.indexOf(t, from)) >= 0) {
            const qsizetype end = from + t.size();
            const bool whole = (from == 0 || !isAsciiLetter(text[from - 1]) || !isAsciiLetter(t.front())) &&
                               (end == text.size() || !isAsciiLetter(text[end]) || !isAsciiLetter(t.back()));
            if (whole) {
                text.replace(from, t.size(), QStringLiteral(" "));
                from += 1;
            } else {
                from = end;
            }
        }
    }
    return text;
}

bool gluedBy(const QString& text, qsizetype at, qsizetype beyond) {
    if (at < 0 || at >= text.size()) return false;
    const QChar c = text[at];
    if (c.isDigit() || c == QLatin1Char('_') || c == QLatin1Char('/') || c == QLatin1Char('\\')) return true;
    // A dot between letters or digits joins a name and its suffix; a dot
    // before a blank or the end closes a sentence ("Open file...").
    return c == QLatin1Char('.') && beyond >= 0 && beyond < text.size() && text[beyond].isLetterOrNumber();
}

bool inName(const QString& text, qsizetype start, qsizetype end) {
    return gluedBy(text, start - 1, start - 2) || gluedBy(text, end, end + 1);
}

QString line(const ShownTextItem& item) { return item.where + QStringLiteral(": ") + item.text; }

}  // namespace

std::vector<ShownTextItem> shownTextsOf(const QWidget* root) {
    Collector collector;
    collector.addWidget(root);
    return std::move(collector.items);
}

QStringList allowedTextsFrom(const QString& file) {
    QFile f(file);
    QStringList texts;
    if (!f.open(QIODevice::ReadOnly)) return texts;
    for (const QByteArray& line : f.readAll().split('\n')) {
        const QString text = QString::fromUtf8(line).remove(QLatin1Char('\r'));
        if (!text.trimmed().isEmpty() && !text.startsWith(QLatin1Char('#'))) texts << text;
    }
    return texts;
}

bool isJapaneseChar(char32_t c) {
    return (c >= 0x3000 && c <= 0x303F)     // Japanese punctuation: 、。「」
           || (c >= 0x3040 && c <= 0x30FF)  // hiragana, katakana
           || (c >= 0x31F0 && c <= 0x31FF)  // katakana extensions
           || (c >= 0x3400 && c <= 0x4DBF)  // CJK extension A
           || (c >= 0x4E00 && c <= 0x9FFF)  // CJK ideographs
           || (c >= 0xF900 && c <= 0xFAFF)  // CJK compatibility ideographs
           || (c >= 0xFF01 && c <= 0xFF9F)  // full-width forms, half-width katakana
           || (c >= 0x20000 && c <= 0x2FFFF);
}

QStringList englishOfOurs(const std::vector<ShownTextItem>& shown, const ShownTextAllowance& allowed) {
    QSet<QString> words;
    for (const QString& w : allowed.words) words.insert(w.toLower());
    static const QRegularExpression word(QStringLiteral("[A-Za-z]{3,}"));
    QStringList found;
    for (const ShownTextItem& item : shown) {
        const QString rest = withoutAllowed(item.text, allowed);
        auto it = word.globalMatch(rest);
        while (it.hasNext()) {
            const QRegularExpressionMatch m = it.next();
            // A word that is part of a name (a file name like "route1.txt",
            // "x86_64", a path) is the data's, not a word of ours.
            if (!inName(rest, m.capturedStart(), m.capturedEnd()) && !words.contains(m.captured().toLower())) {
                found << line(item) + QStringLiteral("  [") + m.captured() + QLatin1Char(']');
                break;
            }
        }
    }
    return found;
}

QStringList japaneseOfOurs(const std::vector<ShownTextItem>& shown, const ShownTextAllowance& allowed) {
    QStringList found;
    for (const ShownTextItem& item : shown) {
        const QString rest = withoutAllowed(item.text, allowed);
        for (const char32_t c : rest.toUcs4())
            if (isJapaneseChar(c)) {
                found << line(item) + QStringLiteral("  [") + QString::fromUcs4(&c, 1) + QLatin1Char(']');
                break;
            }
    }
    return found;
}

}  // namespace ts::test
