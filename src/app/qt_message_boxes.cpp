#include "qt_message_boxes.h"

#include <QApplication>
#include <QMessageBox>

namespace ts {

void QtMessageBoxes::show(const std::string& text) { showWithDetails(text, {}); }

void QtMessageBoxes::showWithDetails(const std::string& text, const std::string& details) {
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), QString::fromStdString(text), QMessageBox::Ok,
                    QApplication::activeWindow());
    if (!details.empty()) box.setDetailedText(QString::fromStdString(details));
    if (beforeExec) beforeExec(box);
    box.exec();
}

}  // namespace ts
