// Display > Live link… in a driving window: the dialog opens the program's
// link for the running train, and a client sees that run's hello and steps.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDeadlineTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTcpServer>
#include <QTimer>
#include <QWebSocket>

#include <filesystem>

#include "app_state.h"
#include "driving_window.h"
#include "help_window.h"
#include "link_dialog.h"
#include "link_session.h"
#include "qt_timers.h"
#include "recording_message_boxes.h"
#include "test_support.h"
#include "title_window.h"
#include "value_window.h"

using namespace ts;

namespace {

bool waitFor(const std::function<bool()>& done, int ms = 60000) {
    QDeadlineTimer deadline(ms);
    while (!done() && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

int freePort() {
    QTcpServer s;
    s.listen(QHostAddress::LocalHost, 0);
    return s.serverPort();
}

}  // namespace

TEST(LinkWindow, DialogOpensTheLinkForTheRunningTrain) {
    test::ScopedCwd cwd(TRAINSIM_FIXTURES "/basic");
    RecordingMessageBoxes boxes;
    QtTimerFactory timers;
    app().boxes = &boxes;
    app().timers = &timers;
    app().gameControllers = false;
    app().help = new TForm4;
    app().valueDisplay = new TForm3;
    auto* title = new TForm5;
    app().title = title;
    TForm1* form = title->createDrivingWindow("789");
    form->show();
    ASSERT_EQ(programLink(), nullptr);

    const int port = freePort();
    QString statusBefore, statusAfter;
    QTimer::singleShot(0, [&] {
        QWidget* d = QApplication::activeModalWidget();
        ASSERT_NE(d, nullptr);
        statusBefore = d->findChild<QLabel*>("linkStatus")->text();
        if (const char* shot = std::getenv("TRAINSIM_SCREENSHOT_DIR"))
            d->grab().save(QString(shot) + "/live-link-dialog-off.png");
        d->findChild<QSpinBox*>("linkPort")->setValue(port);
        d->findChild<QCheckBox*>("linkControl")->setChecked(true);
        d->findChild<QPushButton*>("linkOpen")->click();
        statusAfter = d->findChild<QLabel*>("linkStatus")->text();
        d->adjustSize();
        if (const char* shot = std::getenv("TRAINSIM_SCREENSHOT_DIR"))
            d->grab().save(QString(shot) + "/live-link-dialog.png");
        d->close();
    });
    showLinkDialog(form);
    EXPECT_NE(statusBefore.indexOf("off"), -1);
    EXPECT_NE(statusAfter.indexOf(QString("http://127.0.0.1:%1/").arg(port)), -1) << statusAfter.toStdString();
    ASSERT_NE(programLink(), nullptr);

    QWebSocket client;
    QStringList got;
    QObject::connect(&client, &QWebSocket::textMessageReceived, [&](const QString& m) { got << m; });
    client.open(QUrl(QString("ws://127.0.0.1:%1/").arg(port)));
    ASSERT_TRUE(waitFor([&] { return !got.isEmpty(); }));
    const QJsonObject hello = QJsonDocument::fromJson(got.front().toUtf8()).object();
    EXPECT_EQ(hello.value("type").toString(), "hello");
    EXPECT_EQ(hello.value("train").toString(), "789");
    EXPECT_TRUE(hello.value("control").toBool());
    // Before Start a handle command is refused; Start over the link, then
    // the window's own steps reach the client.
    client.sendTextMessage(R"({"type":"command","command":"char z"})");
    client.sendTextMessage(R"({"type":"command","command":"start"})");
    ASSERT_TRUE(waitFor([&] { return got.size() >= 4; }));
    const QJsonObject refused = QJsonDocument::fromJson(got[1].toUtf8()).object();
    EXPECT_EQ(refused.value("type").toString(), "error");
    EXPECT_NE(refused.value("error").toString().indexOf("not been started"), -1);
    const QJsonObject state = QJsonDocument::fromJson(got.back().toUtf8()).object();
    EXPECT_EQ(state.value("type").toString(), "state");
    EXPECT_TRUE(form->run().started());
    client.close();
    closeProgramLink();
    EXPECT_EQ(programLink(), nullptr);
}

// Opened for the network from the dialog, the link shows its token and the
// addresses to type on a phone, and a client without the token is refused.
TEST(LinkWindow, DialogOpensTheLinkForTheNetworkWithAToken) {
    test::ScopedCwd cwd(TRAINSIM_FIXTURES "/basic");
    RecordingMessageBoxes boxes;
    QtTimerFactory timers;
    app().boxes = &boxes;
    app().timers = &timers;
    app().gameControllers = false;
    app().help = new TForm4;
    app().valueDisplay = new TForm3;
    auto* title = new TForm5;
    app().title = title;
    TForm1* form = title->createDrivingWindow("789");
    form->show();
    ASSERT_EQ(programLink(), nullptr);

    const int port = freePort();
    QString status;
    QTimer::singleShot(0, [&] {
        QWidget* d = QApplication::activeModalWidget();
        ASSERT_NE(d, nullptr);
        d->findChild<QSpinBox*>("linkPort")->setValue(port);
        d->findChild<QCheckBox*>("linkLan")->setChecked(true);
        d->findChild<QPushButton*>("linkOpen")->click();
        status = d->findChild<QLabel*>("linkStatus")->text();
        EXPECT_FALSE(d->findChild<QCheckBox*>("linkLan")->isVisible());
        d->adjustSize();
        if (const char* shot = std::getenv("TRAINSIM_SCREENSHOT_DIR"))
            d->grab().save(QString(shot) + "/live-link-dialog-lan.png");
        d->close();
    });
    showLinkDialog(form);
    ASSERT_NE(programLink(), nullptr);
    const QString token = programLink()->server().token();
    ASSERT_EQ(token.size(), 32);
    EXPECT_NE(status.indexOf("Token: " + token), -1) << status.toStdString();
    EXPECT_NE(status.indexOf(QString("http://127.0.0.1:%1/?token=%2").arg(port).arg(token)), -1);

    QWebSocket without, with;
    QStringList refused, got;
    QObject::connect(&without, &QWebSocket::textMessageReceived, [&](const QString& m) { refused << m; });
    QObject::connect(&with, &QWebSocket::textMessageReceived, [&](const QString& m) { got << m; });
    without.open(QUrl(QString("ws://127.0.0.1:%1/").arg(port)));
    with.open(QUrl(QString("ws://127.0.0.1:%1/?token=%2").arg(port).arg(token)));
    ASSERT_TRUE(waitFor([&] { return !got.isEmpty() && !refused.isEmpty(); }));
    EXPECT_EQ(QJsonDocument::fromJson(got.front().toUtf8()).object().value("type").toString(), "hello");
    EXPECT_NE(QJsonDocument::fromJson(refused.front().toUtf8()).object().value("error").toString().indexOf("token"),
              -1);
    EXPECT_TRUE(waitFor([&] { return without.state() == QAbstractSocket::UnconnectedState; }));
    EXPECT_EQ(programLink()->server().clientCount(), 1);
    with.close();
    closeProgramLink();
}

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
