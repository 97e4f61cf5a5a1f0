#include "readme_window.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "devices/file_check.h"

namespace ts {

ReadmeWindow::ReadmeWindow(const QString& path, QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("ReadmeWindow");
    setWindowTitle(tr("Read me"));
    resize(720, 560);
    browser_ = new QTextBrowser(this);
    browser_->setObjectName("ReadmeBrowser");
    browser_->setOpenExternalLinks(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    if (checkFile(path.toStdString()) == FileRefusal::None)
        browser_->setSource(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
    else
        browser_->setPlainText(
            tr("There is no readme.html in the data folder %1.").arg(QFileInfo(path).absolutePath()));
}

bool desktopOpensWebPages() {
    // Without a display server nothing can show a browser.
    const QString platform = QGuiApplication::platformName();
    if (platform == "offscreen" || platform == "minimal") return false;
    if (!qEnvironmentVariableIsEmpty("BROWSER")) return true;
    const QString mime = QStandardPaths::findExecutable("xdg-mime");
    if (QStandardPaths::findExecutable("xdg-open").isEmpty() || mime.isEmpty()) return false;
    // xdg-open starts even when nothing handles the page and then fails
    // unseen; ask first whether anything does.
    QProcess query;
    query.start(mime, {"query", "default", "text/html"});
    if (!query.waitForFinished(3000)) return false;
    return !query.readAllStandardOutput().trimmed().isEmpty();
}

ReadmeWindow* openReadme(const QString& path) {
    if (checkFile(path.toStdString()) == FileRefusal::None && desktopOpensWebPages() &&
        QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath())))
        return nullptr;
    auto* w = new ReadmeWindow(path);
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->show();
    return w;
}

}  // namespace ts
