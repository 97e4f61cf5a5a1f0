#include "install_dialog.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>

#include "data/route_data.h"
#include "data_folder.h"
#include "install_mode.h"

namespace ts {

InstallDialog::InstallDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("InstallDialog");
    setWindowTitle(tr("Install a route"));
    auto* form = new QFormLayout;
    auto browse = [this](QLineEdit*& edit, const char* name, void (InstallDialog::*pick)()) {
        auto* row = new QHBoxLayout;
        edit = new QLineEdit(this);
        edit->setObjectName(name);
        edit->setReadOnly(true);
        auto* b = new QPushButton(tr("Choose…"), this);
        connect(b, &QPushButton::clicked, this, pick);
        row->addWidget(edit, 1);
        row->addWidget(b);
        return row;
    };
    form->addRow(tr("Route package:"), browse(package_, "Package", &InstallDialog::choosePackage));
    about_ = new QLabel(this);
    about_->setObjectName("About");
    about_->setWordWrap(true);
    form->addRow(QString(), about_);
    form->addRow(tr("Your copy of its video:"), browse(video_, "Video", &InstallDialog::chooseVideo));
    auto* progressRow = new QHBoxLayout;
    progress_ = new QProgressBar(this);
    progress_->setRange(0, 1000);
    progress_->setFormat(tr("Comparing pictures… %p%"));
    cancel_ = new QPushButton(tr("Cancel"), this);
    connect(cancel_, &QPushButton::clicked, this, &InstallDialog::cancelMatch);
    progressRow->addWidget(progress_, 1);
    progressRow->addWidget(cancel_);
    form->addRow(QString(), progressRow);
    result_ = new QLabel(this);
    result_->setObjectName("MatchResult");
    result_->setWordWrap(true);
    form->addRow(tr("Match:"), result_);
    auto* byHandRow = new QHBoxLayout;
    byHand_ = new QCheckBox(tr("Set the offset by hand:"), this);
    offset_ = new QSpinBox(this);
    offset_->setRange(-kVideoAlignmentOffsetLimit, kVideoAlignmentOffsetLimit);
    offset_->setSuffix(tr(" frames"));
    byHandRow->addWidget(byHand_);
    byHandRow->addWidget(offset_, 1);
    connect(byHand_, &QCheckBox::toggled, this, [this] { updateButtons(); });
    form->addRow(QString(), byHandRow);
    code_ = new QLineEdit(this);
    code_->setObjectName("Code");
    form->addRow(tr("Install as train code:"), code_);
    status_ = new QLabel(this);
    status_->setObjectName("Status");
    status_->setWordWrap(true);

    auto* buttons = new QHBoxLayout;
    install_ = new QPushButton(tr("Install"), this);
    install_->setDefault(true);
    auto* close = new QPushButton(tr("Close"), this);
    connect(install_, &QPushButton::clicked, this, [this] { install(); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addStretch(1);
    buttons->addWidget(install_);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(status_);
    layout->addLayout(buttons);
    // Room for the wrapped texts: a form's rows do not grow with their labels' wrapping.
    setMinimumWidth(640);
    for (QLabel* l : {about_, result_}) l->setMinimumHeight(3 * l->fontMetrics().lineSpacing() + 4);
    resize(640, 0);

    poll_ = new QTimer(this);
    poll_->setInterval(100);
    connect(poll_, &QTimer::timeout, this, [this] {
        progress_->setValue(permille_.load());
        if (done_.load()) finishMatch();
    });
    updateButtons();
}

InstallDialog::~InstallDialog() {
    cancel_requested_ = true;
    if (worker_.joinable()) worker_.join();
}

QString InstallDialog::resultText() const { return result_->text(); }
QString InstallDialog::statusText() const { return status_->text(); }

void InstallDialog::showStatus(const QString& text, bool problem) {
    status_->setText(text);
    status_->setStyleSheet(problem ? "color: #b00000" : QString());
}

void InstallDialog::choosePackage() {
    const QString path = QFileDialog::getOpenFileName(this, tr("Route package"), QString(),
                                                      tr("Route packages (*.trainsim-route);;All files (*)"));
    if (!path.isEmpty()) openPackage(path);
}

void InstallDialog::chooseVideo() {
    const QString path = QFileDialog::getOpenFileName(this, tr("Your copy of the route's video"), QString(),
                                                      tr("Videos (*.mp4 *.mkv *.avi *.mov *.webm);;All files (*)"));
    if (!path.isEmpty()) matchVideo(path);
}

bool InstallDialog::openPackage(const QString& path) {
    cancelMatch();
    opened_.reset();
    match_.reset();
    result_->clear();
    package_->setText(path);
    std::string error;
    opened_ = pack::OpenedPackage::open(path.toStdString(), QDir::currentPath().toStdString(), packageChecker(), false,
                                        &error);
    if (!opened_) {
        about_->clear();
        showStatus(tr("This package is refused: %1").arg(QString::fromStdString(error)), true);
        updateButtons();
        return false;
    }
    const pack::PackageManifest& m = opened_->manifest();
    QString about = tr("Train %1, \"%2\"").arg(QString::fromStdString(m.trainCode), QString::fromStdString(m.lineName));
    if (!m.author.empty()) about += tr(", by %1").arg(QString::fromStdString(m.author));
    if (!m.licence.empty()) about += tr(" (%1)").arg(QString::fromStdString(m.licence));
    about += tr(". Its video: %1 frames (%2 s)%3.")
                 .arg(opened_->fingerprint().length)
                 .arg(opened_->fingerprint().length / kViewFramesPerSecond)
                 .arg(m.withVideo ? tr(", included") : tr(", not included: choose your copy"));
    about_->setText(about);
    // A code the folder has already is offered as another.
    const std::string cwd = QDir::currentPath().toStdString();
    const bool taken = pack::codeTaken(cwd, m.trainCode);
    code_->setText(QString::fromStdString(taken ? pack::freeCode(cwd, m.trainCode) : m.trainCode));
    showStatus(taken ? tr("This data folder has a route of train code %1: it is kept, and this one is offered "
                          "under another code.")
                           .arg(QString::fromStdString(m.trainCode))
                     : tr("The package is whole and its files pass the check."),
               false);
    updateButtons();
    adjustSize();
    return true;
}

void InstallDialog::matchVideo(const QString& path) {
    if (!opened_ || worker_.joinable()) return;
    video_->setText(path);
    match_.reset();
    result_->setText(tr("Comparing…"));
    permille_ = 0;
    cancel_requested_ = false;
    done_ = false;
    workerResult_.reset();
    const pack::VideoFingerprint fingerprint = opened_->fingerprint();
    const PictureFit fit = opened_->fit();
    worker_ = std::thread([this, fingerprint, fit, file = path.toStdString()] {
        std::string error;
        auto m = pack::matchCopy(
            fingerprint, file, fit,
            [this](double share) {
                permille_ = int(share * 1000);
                return !cancel_requested_.load();
            },
            &error);
        workerResult_ = m;
        workerError_ = error;
        done_ = true;
    });
    poll_->start();
    updateButtons();
}

void InstallDialog::finishMatch() {
    poll_->stop();
    if (worker_.joinable()) worker_.join();
    done_ = false;
    progress_->setValue(workerResult_ ? 1000 : 0);
    if (!workerResult_) {
        result_->setText(cancel_requested_ ? tr("Cancelled.") : QString::fromStdString(workerError_));
    } else {
        match_ = workerResult_;
        QString text = QString::fromStdString(matchReport(*match_));
        text += match_->accepted ? tr(". The route will show this copy at the author's pictures.")
                                 : tr(". Refused: %1. Install anyway with the offset set by hand.")
                                       .arg(QString::fromStdString(match_->refusal));
        result_->setText(text);
        offset_->setValue(int(std::lround(match_->offset)));
    }
    updateButtons();
    adjustSize();
    emit matched();
}

void InstallDialog::cancelMatch() {
    if (!worker_.joinable()) return;
    cancel_requested_ = true;
    worker_.join();
    finishMatch();
}

void InstallDialog::updateButtons() {
    const bool busy = worker_.joinable();
    progress_->setVisible(busy || progress_->value() > 0);
    cancel_->setEnabled(busy);
    const bool haveVideo = !video_->text().isEmpty();
    const bool videoOk = !haveVideo || (match_ && (match_->accepted || byHand_->isChecked()));
    install_->setEnabled(opened_ && !busy && videoOk);
}

bool InstallDialog::install() {
    if (!opened_ || worker_.joinable()) return false;
    pack::InstallChoice choice;
    choice.code = code_->text().trimmed().toStdString();
    choice.video = video_->text().toStdString();
    choice.defaultsFolder = installedDemoFolder();
    if (byHand_->isChecked()) {
        choice.offset = offset_->value();
    } else if (match_ && match_->accepted) {
        choice.offset = int(std::lround(match_->offset));
        choice.rate = int(std::lround(match_->rate * kVideoRateUnit));
    }
    pack::InstallResult result;
    std::string error;
    if (!pack::installPackage(*opened_, choice, result, &error)) {
        if (!result.suggestedCode.empty()) code_->setText(QString::fromStdString(result.suggestedCode));
        showStatus(tr("Not installed: %1").arg(QString::fromStdString(error)), true);
        return false;
    }
    opened_.reset();
    showStatus(tr("Installed as train %1 (%2 files). It is under \"Other routes…\".")
                   .arg(QString::fromStdString(result.code))
                   .arg(result.installed.size()),
               false);
    updateButtons();
    emit installed(QString::fromStdString(result.code));
    return true;
}

}  // namespace ts
