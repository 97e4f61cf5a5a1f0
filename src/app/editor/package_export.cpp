#include "package_export.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "data_folder.h"
#include "pack/package_manifest.h"
#include "pack/route_package.h"

namespace ts::editor {

PackageExportDialog::PackageExportDialog(std::string code, QWidget* parent) : QDialog(parent), code_(std::move(code)) {
    setObjectName("PackageExportDialog");
    setWindowTitle(tr("Export route package"));
    auto* form = new QFormLayout;
    author_ = new QLineEdit(this);
    author_->setObjectName("Author");
    licence_ = new QLineEdit(this);
    licence_->setObjectName("Licence");
    licence_->setPlaceholderText(tr("for example: CC BY 4.0, or: may be shared unchanged"));
    form->addRow(tr("Author:"), author_);
    form->addRow(tr("Licence:"), licence_);
    auto* outRow = new QHBoxLayout;
    output_ =
        new QLineEdit(QDir::current().absoluteFilePath(QString::fromStdString(code_) + pack::kPackageSuffix), this);
    output_->setObjectName("Output");
    auto* browse = new QPushButton(tr("Choose…"), this);
    connect(browse, &QPushButton::clicked, this, &PackageExportDialog::chooseOutput);
    outRow->addWidget(output_, 1);
    outRow->addWidget(browse);
    form->addRow(tr("Package file:"), outRow);
    withVideo_ = new QCheckBox(tr("Include the video (only when it is yours to share)"), this);
    form->addRow(QString(), withVideo_);
    progress_ = new QProgressBar(this);
    progress_->setRange(0, 1000);
    progress_->setFormat(tr("Fingerprinting the video… %p%"));
    status_ = new QLabel(this);
    status_->setWordWrap(true);
    auto* buttons = new QHBoxLayout;
    export_ = new QPushButton(tr("Export"), this);
    export_->setDefault(true);
    cancel_ = new QPushButton(tr("Close"), this);
    connect(export_, &QPushButton::clicked, this, &PackageExportDialog::start);
    connect(cancel_, &QPushButton::clicked, this, [this] {
        if (busy())
            cancelRequested_ = true;
        else
            reject();
    });
    buttons->addStretch(1);
    buttons->addWidget(export_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(progress_);
    layout->addWidget(status_);
    layout->addLayout(buttons);
    resize(560, 0);
    poll_ = new QTimer(this);
    poll_->setInterval(100);
    connect(poll_, &QTimer::timeout, this, [this] {
        progress_->setValue(permille_.load());
        if (done_.load()) finish();
    });
}

PackageExportDialog::~PackageExportDialog() {
    cancelRequested_ = true;
    if (worker_.joinable()) worker_.join();
}

QString PackageExportDialog::statusText() const { return status_->text(); }
void PackageExportDialog::setOutput(const QString& path) { output_->setText(path); }
void PackageExportDialog::setAuthor(const QString& author, const QString& licence) {
    author_->setText(author);
    licence_->setText(licence);
}

void PackageExportDialog::chooseOutput() {
    const QString path = QFileDialog::getSaveFileName(this, tr("Route package"), output_->text(),
                                                      tr("Route packages (*.trainsim-route)"));
    if (!path.isEmpty()) output_->setText(path);
}

void PackageExportDialog::start() {
    if (busy()) return;
    pack::PackRequest request;
    request.code = code_;
    request.output = output_->text().toStdString();
    request.withVideo = withVideo_->isChecked();
    request.author = author_->text().trimmed().toStdString();
    request.licence = licence_->text().trimmed().toStdString();
    request.programVersion = TRAINSIM_VERSION;
    request.defaultsFolder = installedDemoFolder();
    permille_ = 0;
    cancelRequested_ = false;
    done_ = false;
    export_->setEnabled(false);
    cancel_->setText(tr("Cancel"));
    status_->setText(tr("Packing…"));
    worker_ = std::thread([this, request] {
        pack::PackResult result;
        std::string error;
        ok_ = pack::packRoute(
            request, result,
            [this](double share) {
                permille_ = int(share * 1000);
                return !cancelRequested_.load();
            },
            &error);
        error_ = error;
        files_ = int(result.files.size());
        done_ = true;
    });
    poll_->start();
}

void PackageExportDialog::finish() {
    poll_->stop();
    if (worker_.joinable()) worker_.join();
    done_ = false;
    export_->setEnabled(true);
    cancel_->setText(tr("Close"));
    progress_->setValue(ok_ ? 1000 : 0);
    status_->setText(ok_ ? tr("Written %1: %2 files and the video's fingerprint.").arg(output_->text()).arg(files_)
                         : tr("Not written: %1").arg(QString::fromStdString(error_)));
    emit finished(ok_);
}

}  // namespace ts::editor
