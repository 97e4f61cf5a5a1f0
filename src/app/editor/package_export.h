// File > Export route package…: the author's and licence's texts asked in a
// dialog, and the route packed with its video's fingerprint, with progress.
#pragma once
#include <QDialog>

#include <atomic>
#include <string>
#include <thread>

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTimer;

namespace ts::editor {

class PackageExportDialog : public QDialog {
    Q_OBJECT
public:
    // Packs train `code` of the data folder (the current folder) as saved.
    PackageExportDialog(std::string code, QWidget* parent = nullptr);
    ~PackageExportDialog() override;

    void setOutput(const QString& path);
    void setAuthor(const QString& author, const QString& licence);
    // Starts packing in the background; finished() fires when done.
    void start();
    bool busy() const { return worker_.joinable(); }
    QString statusText() const;

signals:
    void finished(bool ok);

private:
    void chooseOutput();
    void finish();

    std::string code_;
    QLineEdit* author_;
    QLineEdit* licence_;
    QLineEdit* output_;
    QCheckBox* withVideo_;
    QProgressBar* progress_;
    QLabel* status_;
    QPushButton* export_;
    QPushButton* cancel_;
    QTimer* poll_;
    std::thread worker_;
    std::atomic<int> permille_{0};
    std::atomic<bool> cancelRequested_{false}, done_{false};
    bool ok_ = false;
    std::string error_;
    int files_ = 0;
};

}  // namespace ts::editor
