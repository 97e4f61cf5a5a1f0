// How text from a data file (line and station names, signal labels, file
// names) is put into a widget: as written, whatever it holds. Tabs become
// blanks, control characters and the bidirectional embeddings, overrides and
// isolates (which would reverse the rest of a menu entry or title) are
// removed, a name too long for its place is elided in the middle with the
// whole name as its tooltip, and in menus "&" is doubled so that it shows
// instead of marking a shortcut.
#pragma once
#include <QString>
#include <string>

class QAction;
class QFont;

namespace ts {

// The text as a widget shows it: tabs as blanks, control and bidirectional
// formatting characters removed.
QString shownText(const QString& text);
QString shownText(const std::string& utf8);

// At most `maxWidth` pixels of `font`, elided in the middle.
QString elidedText(const QString& shown, const QFont& font, int maxWidth);

// "&" doubled, for a menu entry or button text.
QString menuEscaped(const QString& shown);

// The widest a data file's name may make a menu or title.
inline constexpr int kNameWidth = 420;

// Sets a menu entry to a data file's name: shown, elided to kNameWidth of the
// menu's font, "&" doubled; the tooltip holds the whole name when it is elided.
void setNameEntry(QAction* action, const QString& name, const QFont& font);

// A window title holding a data file's name: shown and elided.
QString titleText(const QString& name, const QFont& font);

}  // namespace ts
