// The data folder's readme.html in a window of the program's own, for a
// desktop that has no browser to open it in.
#pragma once
#include <QWidget>

class QTextBrowser;

namespace ts {

class ReadmeWindow : public QWidget {
    Q_OBJECT
public:
    // `path` is the readme to show; a missing file shows a line saying so.
    explicit ReadmeWindow(const QString& path, QWidget* parent = nullptr);
    QTextBrowser* browser() const { return browser_; }

private:
    QTextBrowser* browser_;
};

// True when the desktop has a program for HTML pages (a browser).
bool desktopOpensWebPages();

// Opens readme.html of the data folder with the desktop's browser, or in a
// ReadmeWindow when there is none; returns that window (nullptr when the
// browser took it). The window deletes itself when closed.
ReadmeWindow* openReadme(const QString& path);

}  // namespace ts
