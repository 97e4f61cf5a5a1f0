#include "help_window.h"

#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "app_state.h"
#include "data/file_names.h"
#include "data/text_file.h"
#include "driving_window.h"
#include "shown_text.h"

namespace ts {

TForm4::TForm4(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                          Qt::WindowTitleHint) {
    setObjectName("TForm4");
    setWindowTitle("Help");
    // Opens at its layout's size; the driver may make it larger (or smaller).
    resize(227, 331);
    setMinimumSize(160, 120);
    memo1_ = new QPlainTextEdit(this);
    memo1_->setObjectName("Memo1");
    memo1_->setReadOnly(true);
    memo1_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // A line longer than the window wraps rather than being cut off.
    memo1_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->addWidget(memo1_);
    create();
}

void TForm4::create() {
    auto file = readTextFile(resolveDataPath("operation.txt"));
    if (!file) {
        if (app().boxes)
            app().boxes->show(
                tr("%1 could not be read: the help stays empty.").arg(QStringLiteral("operation.txt")).toStdString());
        return;
    }
    const auto& lines = file->lines;
    if (lines.empty()) return;
    setWindowTitle(titleText(QString::fromStdString(file->encoding.decode(lines[0])), font()));
    QStringList text;
    for (size_t i = 1; i < lines.size(); ++i) text << QString::fromStdString(file->encoding.decode(lines[i]));
    memo1_->setPlainText(text.join('\n'));
}

void TForm4::keyPressEvent(QKeyEvent* e) {
    if (app().current) app().current->forwardKey(e);
}

}  // namespace ts
