#include "copy_dialog.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QProgressDialog>
#include <QTimer>

#include <atomic>
#include <cmath>
#include <thread>

#include "video_cache.h"

namespace ts::editor {

namespace {

QString timeLeft(double seconds) {
    const int s = int(std::lround(std::max(0.0, seconds)));
    if (s >= 60) return QProgressDialog::tr("about %1 min %2 s left").arg(s / 60).arg(s % 60);
    return QProgressDialog::tr("about %1 s left").arg(s);
}

}  // namespace

bool prepareCopyWithProgress(QWidget* parent, const std::string& original, QString* message) {
    const QString name = QFileInfo(QString::fromStdString(original)).fileName();
    QProgressDialog dialog(parent);
    dialog.setObjectName("prepareCopy");
    dialog.setWindowTitle(QProgressDialog::tr("Quick-seeking copy"));
    dialog.setLabelText(QProgressDialog::tr("Preparing a quick-seeking copy of %1…").arg(name));
    dialog.setRange(0, 1000);
    dialog.setMinimumDuration(0);
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    dialog.setWindowModality(Qt::WindowModal);
    dialog.show();

    std::atomic<int> done{0}, total{0};
    std::atomic<bool> cancel{false}, finished{false};
    PrepareOutcome outcome;
    const int viewWidth = largestViewWidth();
    std::thread worker([&] {
        outcome = prepareWorkingCopy(original, viewWidth, [&](int n, int all) {
            done = n;
            total = all;
            return !cancel.load();
        });
        finished = true;
    });
    QElapsedTimer clock;
    clock.start();
    QEventLoop loop;
    QTimer tick;
    QObject::connect(&dialog, &QProgressDialog::canceled, &loop, [&] { cancel = true; });
    QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
        if (finished) {
            loop.quit();
            return;
        }
        const int n = done, all = total;
        if (all <= 0 || n <= 0) return;
        dialog.setValue(int(int64_t(n) * 1000 / all));
        const double spent = clock.elapsed() / 1000.0;
        dialog.setLabelText(QProgressDialog::tr("Preparing a quick-seeking copy of %1…\n%2 of %3 pictures, %4")
                                .arg(name)
                                .arg(n)
                                .arg(all)
                                .arg(cancel ? QProgressDialog::tr("cancelling") : timeLeft(spent / n * (all - n))));
    });
    tick.start(100);
    loop.exec();
    worker.join();
    dialog.close();
    if (message)
        *message = outcome.result == CopyResult::Cancelled ? QString() : QString::fromStdString(outcome.message);
    return outcome.result == CopyResult::Done && !outcome.path.empty();
}

}  // namespace ts::editor
