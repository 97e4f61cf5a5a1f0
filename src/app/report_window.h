// The window that shows how a run was driven, opened when the run closes.
#pragma once
#include <QWidget>

#include "report/drive_report.h"

namespace ts {

// Where the Save dialog starts: the data folder when it can be written,
// otherwise the user's documents (or home) folder.
QString reportSaveFolder(const QString& dataFolder);

class ReportWindow : public QWidget {
    Q_OBJECT
public:
    explicit ReportWindow(DriveReport report, QWidget* parent = nullptr);
    const DriveReport& report() const { return report_; }

private:
    void save();
    DriveReport report_;
};

}  // namespace ts
