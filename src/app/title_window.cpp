#include "title_window.h"
#include "window_placement.h"

#include "link_session.h"

#include "report_window.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <QUrl>

#include "app_state.h"
#include "data/file_names.h"
#include "data/route_reader.h"
#include "data/train_codes.h"
#include "driving_window.h"
#include "install_dialog.h"
#include "jpeg_image.h"
#include "pictures.h"
#include "program_end.h"
#include "readme_window.h"
#include "recording_file.h"
#include "shown_text.h"

namespace ts {

TForm5::TForm5(QWidget* parent, OwnRoutes ownRoutes) : QWidget(parent, Qt::FramelessWindowHint), ownRoutes_(ownRoutes) {
    setObjectName("TForm5");
    setWindowTitle(QApplication::applicationName());
    resize(640, 480);
    setAttribute(Qt::WA_StaticContents);

    auto picture = [this](const char* name, const QPixmap& pm) {
        auto* l = new QLabel(this);
        l->setObjectName(name);
        l->setPixmap(pm);
        l->resize(pm.size());
        l->installEventFilter(this);
        return l;
    };
    image1_ = new QLabel(this);
    image1_->setObjectName("Image1");
    image1_->setGeometry(0, 0, 640, 480);
    train1_ = picture("Train1", QPixmap());
    train2_ = picture("Train2", QPixmap());
    help_ = picture("HELP", QPixmap());
    quit_ = picture("Quit", QPixmap());
    loading_ = picture("loading", QPixmap());
    loading_->move(160, 208);
    loading_->hide();
    label1_ = new QLabel(this);
    label1_->setObjectName("Label1");
    label1_->setGeometry(0, 480, 640, 18);
    label1_->setAutoFillBackground(true);
    QPalette pal = label1_->palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::WindowText, Qt::black);
    label1_->setPalette(pal);

    // FormCreate
    connect(&timer_, &QTimer::timeout, this, [this] { MMTimer1Timer(); });
    timer_.setInterval(100);
    timer_.start();
    const QImage bg = loadJpeg(resolveDataPath("image\\title\\title.jpg"));
    if (!bg.isNull()) image1_->setPixmap(QPixmap::fromImage(bg));
    placeButtons();

    if (ownRoutes == OwnRoutes::Listed) {
        // Left of "Other routes…", below the train buttons.
        install_ = picture("InstallRoute", QPixmap());
        install_->move(170, 448);
    }
    listOtherRoutes();
    retranslate();
}

void TForm5::retranslate() {
    auto setPicture = [](QLabel* l, const QPixmap& pm) {
        l->setPixmap(pm);
        l->resize(pm.size());
    };
    setPicture(train1_, trainButtonPicture(tr("%1  Drive the electric train").arg(QStringLiteral("789"))));
    setPicture(train2_, trainButtonPicture(tr("%1  Drive the diesel railcar").arg(QStringLiteral("40"))));
    setPicture(help_, smallButtonPicture(tr("HELP"), 56, 25));
    help_->setToolTip(tr("Open the read-me"));
    setPicture(quit_, smallButtonPicture(tr("Quit"), 49, 25));
    quit_->setToolTip(tr("End the program"));
    setPicture(loading_, loadingPicture());
    if (install_) {
        setPicture(install_, smallButtonPicture(tr("Install a route…"), 150, 25));
        install_->setToolTip(tr("Install a route package into this data folder, with your copy of its video"));
    }
    if (others_) {
        setPicture(others_, smallButtonPicture(tr("Other routes…"), 150, 25));
        others_->setToolTip(tr("Drive a route of this data folder"));
    }
}

void TForm5::changeEvent(QEvent* e) {
    if (e->type() == QEvent::LanguageChange) retranslate();
    QWidget::changeEvent(e);
}

void TForm5::listOtherRoutes() {
    otherRoutes_.clear();
    for (const std::string& code : ownRoutes_ == OwnRoutes::Listed ? trainCodesIn(".") : std::vector<std::string>{}) {
        if (code == "789" || code == "40") continue;
        otherRoutes_.push_back({code, readLineName(resolveDataPath(code + "_line.txt"))});
    }
    delete othersMenu_;
    othersMenu_ = nullptr;
    if (!otherRoutes_.empty() && !others_) {
        // Below the train buttons, left of HELP: a place none of the title's pictures reach.
        others_ = new QLabel(this);
        others_->setObjectName("OtherRoutes");
        others_->installEventFilter(this);
        others_->move(330, 448);
        retranslate();
        others_->show();
    }
}

InstallDialog* TForm5::openInstallDialog() {
    auto* d = new InstallDialog(this);
    d->setAttribute(Qt::WA_DeleteOnClose);
    connect(d, &InstallDialog::installed, this, [this] { listOtherRoutes(); });
    d->show();
    return d;
}

QMenu* TForm5::otherRoutesMenu() {
    if (!othersMenu_) {
        othersMenu_ = new QMenu(this);
        othersMenu_->setObjectName("OtherRoutesMenu");
        // A long name is elided; its tooltip shows the whole.
        othersMenu_->setToolTipsVisible(true);
        for (const OtherRoute& r : otherRoutes_) {
            const QString name = QString::fromStdString(r.lineName);
            const QString text = name.isEmpty() ? QString::fromStdString(r.code)
                                                : QStringLiteral("%1 — %2").arg(QString::fromStdString(r.code), name);
            QAction* a = othersMenu_->addAction(QString());
            setNameEntry(a, text, othersMenu_->font());
            a->setData(QString::fromStdString(r.code));
            // After the menu has closed: the run's window is modal.
            connect(a, &QAction::triggered, this,
                    [this, code = r.code] { QTimer::singleShot(0, this, [this, code] { pickTrain(code); }); });
        }
    }
    return othersMenu_;
}

QLabel* TForm5::element(const char* name) const { return findChild<QLabel*>(name); }

void TForm5::placeButtons() {
    train1_->move(buttons_.train1Left, 352);
    train2_->move(buttons_.train2Left, 400);
    quit_->move(584, buttons_.quitTop);
    help_->move(512, buttons_.helpTop);
}

void TForm5::MMTimer1Timer() {
    if (!buttons_.tick()) timer_.stop();
    placeButtons();
}

void TForm5::setStatus(const std::string& text) {
    label1_->setText(QString::fromStdString(text));
    label1_->repaint();
}

bool TForm5::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) {
        if (watched == train1_)
            Train1Click();
        else if (watched == train2_)
            Train2Click();
        else if (watched == help_)
            helpclick();
        else if (watched == quit_)
            QuitClick();
        else if (install_ && watched == install_)
            openInstallDialog();
        else if (others_ && watched == others_)
            otherRoutesMenu()->popup(others_->mapToGlobal(QPoint(0, others_->height())));
        else
            return QWidget::eventFilter(watched, e);
        return true;
    }
    return QWidget::eventFilter(watched, e);
}

TForm1* TForm5::createDrivingWindow(const std::string& code) {
    trainCode_ = code;
    auto* form = new TForm1(code, [this](const std::string& t) { setStatus(t); });
    app().current = form;
    guarded([form] { form->formCreate(); });
    if (LinkSession* link = programLink()) link->follow(form);
    if (!app().recordTo.empty()) {
        std::string error;
        if (!beginRecording(*form, app().recordTo, error))
            app().boxes->show(tr("Cannot record: %1").arg(QString::fromStdString(error)).toStdString());
        app().recordTo.clear();
    }
    return form;
}

void TForm5::pickTrain(const std::string& code) {
    timer_.stop();
    buttons_.finish();
    placeButtons();
    loading_->show();
    loading_->repaint();
    trainCode_ = code;
    resize(640, 498);
    setStatus("Formを作成しています");
    TForm1* form = createDrivingWindow(code);
    hide();
    form->runModal();
    form->hide();
    if (app().quitting) return;
    loading_->hide();
    resize(640, 480);
    show();
    // How the run went, over the title screen; a run that never moved has nothing to tell.
    if (const DriveReport report = form->run().report(); report.moved() && showReports)
        showOver(new ReportWindow(report), this);
}

void TForm5::helpclick() {
    openReadme(QDir::current().absoluteFilePath(QString::fromStdString(resolveDataPath("readme.html"))));
}

void TForm5::QuitClick() {
    if (app().current) {
        app().current->deleteLater();
        app().current = nullptr;
    }
    close();
}

}  // namespace ts
