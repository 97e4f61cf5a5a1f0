// "Install a route…" on the title screen: a route package, the user's copy of
// its video, the match of the two (with progress and cancel, on a thread of
// its own) and the install into the data folder.
#pragma once
#include <QDialog>

#include <atomic>
#include <memory>
#include <optional>
#include <thread>

#include "pack/route_install.h"

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QCheckBox;
class QTimer;

namespace ts {

class InstallDialog : public QDialog {
    Q_OBJECT
public:
    explicit InstallDialog(QWidget* parent = nullptr);
    ~InstallDialog() override;

    // Opens and checks a package, as choosing it does; false when refused (the reason shown).
    bool openPackage(const QString& path);
    // Matches a copy of the video in the background; matched() fires when done.
    void matchVideo(const QString& path);
    // Installs as the dialog stands; false when refused (the reason shown).
    bool install();

    bool matching() const { return worker_.joinable(); }
    const std::optional<pack::VideoMatch>& match() const { return match_; }
    QString resultText() const;
    QString statusText() const;

signals:
    void matched();
    // A route was installed under this code: the title screen lists it at once.
    void installed(const QString& code);

private:
    void choosePackage();
    void chooseVideo();
    void finishMatch();
    void cancelMatch();
    void updateButtons();
    void showStatus(const QString& text, bool problem);

    QLineEdit* package_;
    QLineEdit* video_;
    QLineEdit* code_;
    QLabel* about_;
    QLabel* result_;
    QLabel* status_;
    QProgressBar* progress_;
    QPushButton* cancel_;
    QPushButton* install_;
    QCheckBox* byHand_;
    QSpinBox* offset_;
    QTimer* poll_;

    std::unique_ptr<pack::OpenedPackage> opened_;
    std::optional<pack::VideoMatch> match_;
    std::thread worker_;
    std::atomic<int> permille_{0};
    std::atomic<bool> cancel_requested_{false}, done_{false};
    std::optional<pack::VideoMatch> workerResult_;
    std::string workerError_;
};

}  // namespace ts
