// Controller > Game controller…: the connected controllers, each axis with its
// live value and the handle position it gives, calibration, and the actions of
// the buttons; Save writes the mapping file in the data folder.
#pragma once
#include <QDialog>
#include <vector>

#include "controls/game_pad.h"
#include "controls/pad_mapping.h"

class QComboBox;
class QLabel;
class QTableWidget;
class QPushButton;
class QTimer;

namespace ts {

class PadDevices;

class PadDialog : public QDialog {
    Q_OBJECT
public:
    PadDialog(QWidget* parent, PadDevices* devices, HandleRanges ranges);

    // Every mapping of the file, with the dialog's changes (after Save).
    const std::vector<PadMapping>& mappings() const { return mappings_; }
    // The mapping being edited for the selected controller.
    const PadMapping& current() const { return current_; }
    // Reads the live values once (the timer does so every 50 ms).
    void updateLive();
    // Saves into the data folder; false (with a message in the dialog) when it cannot.
    bool save();
    // The position text an axis gives at `raw` ("P3", "B2", "EB", "N", "hold", …).
    static QString positionText(const AxisMapping& m, int raw, const HandleRanges& r);

private:
    void selectDevice(int row);
    void fillTables();
    void readTables();
    void toggleCalibration();

    PadDevices* devices_;
    HandleRanges ranges_;
    std::vector<PadMapping> mappings_;
    PadMapping current_;
    int device_ = -1;
    int axisCount_ = 0, buttonCount_ = 0, hatCount_ = 0;
    bool gamepad_ = false;
    bool calibrating_ = false;
    std::vector<int> calMin_, calMax_;
    QComboBox* list_ = nullptr;
    QTableWidget* axes_ = nullptr;
    QTableWidget* buttons_ = nullptr;
    QPushButton* calibrate_ = nullptr;
    QLabel* skipped_ = nullptr;  // the lines of gamepad.txt that were skipped
    QLabel* note_ = nullptr;
    QTimer* timer_ = nullptr;
};

}  // namespace ts
