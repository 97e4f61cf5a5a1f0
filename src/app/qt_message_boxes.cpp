#include "qt_message_boxes.h"

#include <QApplication>
#include <QMessageBox>

namespace ts {

void QtMessageBoxes::show(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), QString::fromStdString(text),
                    QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

}  // namespace ts
