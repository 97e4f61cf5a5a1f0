// The fatal message box of a broken data file: its own text, and where the
// file is wrong behind "Show Details...". Saves a picture of the opened box.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTextEdit>
#include <QTimer>

#include "qt_message_boxes.h"

TEST(FatalMessageBox, ShowsTheDetailsBehindItsButton) {
    ts::QtMessageBoxes boxes;
    QString text, details, shownDetails;
    bool grabbed = false;
    boxes.beforeExec = [&](QMessageBox& box) {
        QTimer::singleShot(0, &box, [&] {
            text = box.text();
            details = box.detailedText();
            for (QAbstractButton* b : box.buttons())
                if (box.buttonRole(b) == QMessageBox::ActionRole) b->click();
            QApplication::processEvents();
            if (auto* edit = box.findChild<QTextEdit*>()) shownDetails = edit->isVisible() ? edit->toPlainText() : "";
            const char* out = std::getenv("TRAINSIM_SCREENSHOT");
            // Under the build folder, wherever the test is started from.
            grabbed = box.grab().save(out ? out : TRAINSIM_TEST_OUTPUT "/fatal_message_details.png", "PNG");
            box.accept();
        });
    };
    const std::string detailText =
        "789_line.txt:57:6: [Station] row 3, field 6 departureTime\n"
        "\"8649OO\" is not a whole number: write a decimal integer such as 120 (a sign and leading blanks are "
        "accepted; a decimal point or anything after the number is not)";
    boxes.showWithDetails("路線ファイルに誤りがあります。[Station]", detailText);
    EXPECT_EQ(text.toStdString(), "路線ファイルに誤りがあります。[Station]");
    EXPECT_EQ(details.toStdString(), detailText);
    EXPECT_EQ(shownDetails.toStdString(), detailText) << "the details are open after the button";
    EXPECT_TRUE(grabbed);
}

TEST(FatalMessageBox, AMessageWithoutDetailsHasNoDetailsButton) {
    ts::QtMessageBoxes boxes;
    int buttons = -1;
    boxes.beforeExec = [&](QMessageBox& box) {
        QTimer::singleShot(0, &box, [&] {
            buttons = int(box.buttons().size());
            box.accept();
        });
    };
    boxes.show("DirectSoundの割り当てに失敗しました。");
    EXPECT_EQ(buttons, 1) << "only OK";
}
