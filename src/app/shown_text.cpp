#include "shown_text.h"

#include <QAction>
#include <QFont>
#include <QFontMetrics>

namespace ts {

namespace {

bool removed(char32_t c) {
    if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) return true;  // C0 and C1 controls
    if (c >= 0x202A && c <= 0x202E) return true;            // embeddings and overrides
    if (c >= 0x2066 && c <= 0x2069) return true;            // isolates
    return c == 0x200E || c == 0x200F || c == 0x061C;       // direction marks
}

}  // namespace

QString shownText(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const char32_t c : text.toUcs4()) {
        if (c == U'\t')
            out += QLatin1Char(' ');
        else if (!removed(c))
            out += QString::fromUcs4(&c, 1);
    }
    return out;
}

QString shownText(const std::string& utf8) { return shownText(QString::fromStdString(utf8)); }

QString elidedText(const QString& shown, const QFont& font, int maxWidth) {
    return QFontMetrics(font).elidedText(shown, Qt::ElideMiddle, maxWidth);
}

QString menuEscaped(const QString& shown) {
    QString out = shown;
    return out.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

void setNameEntry(QAction* action, const QString& name, const QFont& font) {
    const QString shown = shownText(name);
    const QString elided = elidedText(shown, font, kNameWidth);
    action->setText(menuEscaped(elided));
    // As rich text, escaped: a name that looks like markup shows as written.
    if (elided != shown) action->setToolTip(QStringLiteral("<qt>%1</qt>").arg(shown.toHtmlEscaped()));
}

QString titleText(const QString& name, const QFont& font) { return elidedText(shownText(name), font, kNameWidth); }

}  // namespace ts
