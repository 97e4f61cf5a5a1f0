#include "pad_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>
#include <cstdint>
#include <iterator>

#include "controls/pad_file.h"
#include "pad_devices.h"

namespace ts {

namespace {

// Columns of the axis table.
enum { ColValue, ColRole, ColMin, ColMax, ColInverted, ColDeadZone, ColHysteresis, ColPosition, AxisColumns };

// A known gamepad's controls by the names printed on it.
const char* const kGamepadButtons[] = {"A",
                                       "B",
                                       "X",
                                       "Y",
                                       QT_TRANSLATE_NOOP("QObject", "Back"),
                                       QT_TRANSLATE_NOOP("QObject", "Guide"),
                                       QT_TRANSLATE_NOOP("QObject", "Start"),
                                       QT_TRANSLATE_NOOP("QObject", "Left stick"),
                                       QT_TRANSLATE_NOOP("QObject", "Right stick"),
                                       QT_TRANSLATE_NOOP("QObject", "Left shoulder"),
                                       QT_TRANSLATE_NOOP("QObject", "Right shoulder"),
                                       QT_TRANSLATE_NOOP("QObject", "Pad up"),
                                       QT_TRANSLATE_NOOP("QObject", "Pad down"),
                                       QT_TRANSLATE_NOOP("QObject", "Pad left"),
                                       QT_TRANSLATE_NOOP("QObject", "Pad right")};
const char* const kGamepadAxes[] = {
    QT_TRANSLATE_NOOP("ts::PadDialog", "Left x"),       QT_TRANSLATE_NOOP("ts::PadDialog", "Left y"),
    QT_TRANSLATE_NOOP("ts::PadDialog", "Right x"),      QT_TRANSLATE_NOOP("ts::PadDialog", "Right y"),
    QT_TRANSLATE_NOOP("ts::PadDialog", "Left trigger"), QT_TRANSLATE_NOOP("ts::PadDialog", "Right trigger")};

// The actions as gamepad.txt names them; the Japanese program shows them in words.
[[maybe_unused]] const char* const kActionWords[] = {
    QT_TRANSLATE_NOOP("ts::PadDialog", "power-up"),         QT_TRANSLATE_NOOP("ts::PadDialog", "power-down"),
    QT_TRANSLATE_NOOP("ts::PadDialog", "brake-release"),    QT_TRANSLATE_NOOP("ts::PadDialog", "brake-apply"),
    QT_TRANSLATE_NOOP("ts::PadDialog", "emergency"),        QT_TRANSLATE_NOOP("ts::PadDialog", "neutral"),
    QT_TRANSLATE_NOOP("ts::PadDialog", "reverser-forward"), QT_TRANSLATE_NOOP("ts::PadDialog", "reverser-neutral"),
    QT_TRANSLATE_NOOP("ts::PadDialog", "reverser-back"),    QT_TRANSLATE_NOOP("ts::PadDialog", "horn"),
    QT_TRANSLATE_NOOP("ts::PadDialog", "whistle"),          QT_TRANSLATE_NOOP("ts::PadDialog", "doors"),
    QT_TRANSLATE_NOOP("ts::PadDialog", "confirm"),          QT_TRANSLATE_NOOP("ts::PadDialog", "reset"),
    QT_TRANSLATE_NOOP("ts::PadDialog", "call-out"),         QT_TRANSLATE_NOOP("ts::PadDialog", "timetable"),
    QT_TRANSLATE_NOOP("ts::PadDialog", "value-display"),
};

QString buttonName(int b, bool gamepad) {
    if (gamepad && b >= 0 && b < int(std::size(kGamepadButtons)))
        return QObject::tr("%1 (%2)").arg(QObject::tr(kGamepadButtons[b])).arg(b);
    if (b >= kHatButtonBase) {
        static const char* dirs[] = {QT_TRANSLATE_NOOP("QObject", "up"), QT_TRANSLATE_NOOP("QObject", "right"),
                                     QT_TRANSLATE_NOOP("QObject", "down"), QT_TRANSLATE_NOOP("QObject", "left")};
        const int k = b - kHatButtonBase;
        return QObject::tr("Hat %1 %2").arg(k / 4).arg(QObject::tr(dirs[k % 4]));
    }
    return QObject::tr("Button %1").arg(b);
}

}  // namespace

QString PadDialog::positionText(const AxisMapping& m, int raw, const HandleRanges& r) {
    const auto positions = leverPositions(m.role, r.power, r.brake, r.hold);
    if (positions.empty()) return {};
    const auto n = std::find(positions.begin(), positions.end(), LeverPosition{});
    const LeverPosition& p =
        positions[size_t(positionIndex(m, raw, int(positions.size()), std::nullopt, int(n - positions.begin())))];
    if (m.role == AxisRole::Power) return p.power == 0 ? QString("N") : QString("P%1").arg(p.power);
    if (p.hold) return tr("hold");
    if (p.brake == -r.brake) return "EB";
    if (p.brake < 0) return QString("B%1").arg(-p.brake);
    return p.power > 0 ? QString("P%1").arg(p.power) : QString("N");
}

PadDialog::PadDialog(QWidget* parent, PadDevices* devices, HandleRanges ranges)
    : QDialog(parent), devices_(devices), ranges_(ranges) {
    setObjectName("PadDialog");
    setWindowTitle(tr("Game controller"));
    std::vector<std::string> problems;
    mappings_ = loadPadMappings(".", &problems);

    auto* layout = new QVBoxLayout(this);
    list_ = new QComboBox;
    list_->setObjectName("devices");
    layout->addWidget(list_);
    note_ = new QLabel;
    note_->setObjectName("note");
    note_->setWordWrap(true);
    layout->addWidget(note_);
    skipped_ = new QLabel;
    skipped_->setObjectName("skipped");
    skipped_->setWordWrap(true);
    if (!problems.empty()) {
        QStringList lines;
        for (size_t i = 0; i < problems.size() && i < 5; ++i) lines << QString::fromStdString(problems[i]);
        if (problems.size() > 5) lines << tr("… and %n more.", nullptr, int(problems.size() - 5));
        skipped_->setText(tr("Lines of gamepad.txt that were skipped:") + "\n" + lines.join("\n"));
    }
    skipped_->setVisible(!problems.empty());
    layout->addWidget(skipped_);

    auto* axisGroup = new QGroupBox(tr(" Levers "));
    auto* axisLayout = new QVBoxLayout(axisGroup);
    axes_ = new QTableWidget(0, AxisColumns);
    axes_->setObjectName("axes");
    axes_->setHorizontalHeaderLabels({tr("Value"), tr("Moves"), tr("Min"), tr("Max"), tr("Inverted"), tr("Dead zone"),
                                      tr("Hysteresis"), tr("Position")});
    axes_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    axisLayout->addWidget(axes_);
    calibrate_ = new QPushButton(tr("Calibrate"));
    calibrate_->setObjectName("calibrate");
    calibrate_->setToolTip(tr("Move every lever to both ends, then press again."));
    axisLayout->addWidget(calibrate_, 0, Qt::AlignLeft);
    layout->addWidget(axisGroup);

    auto* buttonGroup = new QGroupBox(tr(" Buttons "));
    auto* buttonLayout = new QVBoxLayout(buttonGroup);
    buttons_ = new QTableWidget(0, 1);
    buttons_->setObjectName("buttons");
    buttons_->setHorizontalHeaderLabels({tr("Action")});
    buttons_->horizontalHeader()->setStretchLastSection(true);
    buttonLayout->addWidget(buttons_);
    layout->addWidget(buttonGroup);

    auto* box = new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Close);
    connect(box, &QDialogButtonBox::accepted, this, [this] {
        if (save()) accept();
    });
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(box);
    connect(calibrate_, &QPushButton::clicked, this, [this] { toggleCalibration(); });

    if (devices_)
        for (const PadDeviceInfo& d : devices_->sdl().devices())
            list_->addItem(QString::fromStdString(d.name + "  (" + d.guid + ")"), d.id);
    if (list_->count() == 0) {
        list_->addItem(tr("No game controller connected"), -1);
        list_->setEnabled(false);
    }
    connect(list_, &QComboBox::currentIndexChanged, this, [this](int row) { selectDevice(row); });
    selectDevice(0);

    timer_ = new QTimer(this);
    timer_->setInterval(50);
    connect(timer_, &QTimer::timeout, this, [this] { updateLive(); });
    timer_->start();
    resize(780, 700);
}

void PadDialog::selectDevice(int row) {
    device_ = list_->itemData(row).toInt();
    axisCount_ = buttonCount_ = hatCount_ = 0;
    gamepad_ = false;
    current_ = PadMapping{};
    if (devices_ && device_ >= 0)
        for (const PadDeviceInfo& d : devices_->sdl().devices())
            if (d.id == device_) {
                axisCount_ = d.axes;
                buttonCount_ = d.buttons;
                hatCount_ = d.hats;
                gamepad_ = d.gamepad;
                const PadMapping* kept = findPadMapping(mappings_, d.guid);
                current_ = kept ? *kept : d.gamepad ? defaultGamepadMapping() : defaultJoystickMapping();
                current_.guid = d.guid;
                current_.name = d.name;
                note_->setText(kept ? tr("Mapping from gamepad.txt.")
                                    : tr("Not in gamepad.txt yet: the default mapping of a %1.")
                                          .arg(d.gamepad ? tr("standard gamepad") : tr("joystick")));
            }
    if (device_ < 0) note_->setText(tr("Connect a gamepad, joystick or USB train controller; it appears here."));
    fillTables();
    updateLive();
}

void PadDialog::fillTables() {
    axes_->setRowCount(axisCount_);
    for (int a = 0; a < axisCount_; ++a) {
        const AxisMapping* m = current_.axis(a);
        AxisMapping shown;
        if (m) shown = *m;
        axes_->setVerticalHeaderItem(a, new QTableWidgetItem(gamepad_ && a < int(std::size(kGamepadAxes))
                                                                 ? tr("%1 (%2)").arg(tr(kGamepadAxes[a])).arg(a)
                                                                 : tr("Axis %1").arg(a)));
        auto* bar = new QProgressBar;
        bar->setRange(-32768, 32767);
        bar->setTextVisible(true);
        bar->setAlignment(Qt::AlignCenter);
        axes_->setCellWidget(a, ColValue, bar);
        auto* role = new QComboBox;
        role->addItem(tr("nothing"), -1);
        role->addItem(tr("power"), int(AxisRole::Power));
        role->addItem(tr("brake"), int(AxisRole::Brake));
        role->addItem(tr("power and brake"), int(AxisRole::Combined));
        role->setCurrentIndex(m ? role->findData(int(m->role)) : 0);
        axes_->setCellWidget(a, ColRole, role);
        axes_->setItem(a, ColMin, new QTableWidgetItem(QString::number(shown.min)));
        axes_->setItem(a, ColMax, new QTableWidgetItem(QString::number(shown.max)));
        auto* inv = new QCheckBox;
        inv->setChecked(shown.inverted);
        axes_->setCellWidget(a, ColInverted, inv);
        auto spin = [](double v) {
            auto* s = new QDoubleSpinBox;
            s->setRange(0, 0.45);
            s->setSingleStep(0.01);
            s->setDecimals(2);
            s->setValue(v);
            return s;
        };
        axes_->setCellWidget(a, ColDeadZone, spin(shown.deadZone));
        axes_->setCellWidget(a, ColHysteresis, spin(shown.hysteresis));
        axes_->setItem(a, ColPosition, new QTableWidgetItem);
    }
    // Every lever in view without scrolling (a gamepad has six).
    axes_->setMinimumHeight(axes_->horizontalHeader()->sizeHint().height() +
                            std::min(axisCount_, 8) * axes_->verticalHeader()->defaultSectionSize() + 4);
    std::vector<int> numbers;
    for (int b = 0; b < buttonCount_; ++b) numbers.push_back(b);
    for (int h = 0; h < hatCount_; ++h)
        for (int d = 0; d < 4; ++d) numbers.push_back(hatButton(h, d));
    buttons_->setRowCount(int(numbers.size()));
    for (size_t i = 0; i < numbers.size(); ++i) {
        const int b = numbers[i];
        auto* head = new QTableWidgetItem(buttonName(b, gamepad_));
        head->setData(Qt::UserRole, b);
        buttons_->setVerticalHeaderItem(int(i), head);
        auto* action = new QComboBox;
        action->addItem(tr("nothing"), int(PadAction::None));
        for (PadAction a : allPadActions()) {
            action->addItem(tr(padActionName(a)), int(a));
            action->setItemData(action->count() - 1, QString::fromLatin1(padActionName(a)), Qt::ToolTipRole);
        }
        auto it = current_.buttons.find(b);
        action->setCurrentIndex(action->findData(int(it == current_.buttons.end() ? PadAction::None : it->second)));
        buttons_->setCellWidget(int(i), 0, action);
    }
}

void PadDialog::readTables() {
    const std::vector<AxisMapping> before = current_.axes;
    current_.axes.clear();
    for (int a = 0; a < axisCount_; ++a) {
        auto* role = static_cast<QComboBox*>(axes_->cellWidget(a, ColRole));
        if (!role || role->currentData().toInt() < 0) continue;
        AxisMapping m;
        m.axis = a;
        m.role = AxisRole(role->currentData().toInt());
        m.min = axes_->item(a, ColMin)->text().toInt();
        m.max = axes_->item(a, ColMax)->text().toInt();
        if (m.min == m.max) m.max = m.min + 1;
        m.inverted = static_cast<QCheckBox*>(axes_->cellWidget(a, ColInverted))->isChecked();
        m.deadZone = static_cast<QDoubleSpinBox*>(axes_->cellWidget(a, ColDeadZone))->value();
        m.hysteresis = static_cast<QDoubleSpinBox*>(axes_->cellWidget(a, ColHysteresis))->value();
        // A centre-sprung lever: the value it rests at when the dialog reads it.
        if (m.role == AxisRole::Combined) {
            const AxisMapping* old = nullptr;
            for (const AxisMapping& o : before)
                if (o.axis == a) old = &o;
            if (old) m.centre = old->centre;
        }
        current_.axes.push_back(m);
    }
    current_.buttons.clear();
    for (int i = 0; i < buttons_->rowCount(); ++i) {
        auto* action = static_cast<QComboBox*>(buttons_->cellWidget(i, 0));
        const auto a = PadAction(action->currentData().toInt());
        if (a != PadAction::None) current_.buttons[buttons_->verticalHeaderItem(i)->data(Qt::UserRole).toInt()] = a;
    }
}

void PadDialog::updateLive() {
    if (!devices_ || device_ < 0) return;
    readTables();
    for (int a = 0; a < axisCount_; ++a) {
        const int v = devices_->sdl().axisValue(device_, a);
        const AxisMapping* mapped = current_.axis(a);
        if (auto* bar = static_cast<QProgressBar*>(axes_->cellWidget(a, ColValue))) {
            // A mapped lever shows its calibrated travel: a released trigger reads empty.
            if (mapped)
                bar->setRange(std::min(mapped->min, mapped->max), std::max(mapped->min, mapped->max));
            else
                bar->setRange(-32768, 32767);
            bar->setValue(std::clamp(v, bar->minimum(), bar->maximum()));
            bar->setFormat(QString::number(v));
        }
        if (calibrating_ && size_t(a) < calMin_.size()) {
            calMin_[size_t(a)] = std::min(calMin_[size_t(a)], v);
            calMax_[size_t(a)] = std::max(calMax_[size_t(a)], v);
        }
        const AxisMapping* m = current_.axis(a);
        axes_->item(a, ColPosition)->setText(m ? positionText(*m, v, ranges_) : QString());
    }
    for (int i = 0; i < buttons_->rowCount(); ++i) {
        const bool down =
            devices_->sdl().buttonDown(device_, buttons_->verticalHeaderItem(i)->data(Qt::UserRole).toInt());
        buttons_->verticalHeaderItem(i)->setText(
            (down ? "● " : "") + buttonName(buttons_->verticalHeaderItem(i)->data(Qt::UserRole).toInt(), gamepad_));
    }
}

void PadDialog::toggleCalibration() {
    if (!calibrating_) {
        calibrating_ = true;
        calMin_.assign(size_t(axisCount_), 32767);
        calMax_.assign(size_t(axisCount_), -32768);
        calibrate_->setText(tr("Done"));
        note_->setText(tr("Move every lever to both ends, then press Done."));
        return;
    }
    calibrating_ = false;
    calibrate_->setText(tr("Calibrate"));
    for (int a = 0; a < axisCount_; ++a) {
        if (calMax_[size_t(a)] <= calMin_[size_t(a)]) continue;  // not moved: kept as it was
        axes_->item(a, ColMin)->setText(QString::number(calMin_[size_t(a)]));
        axes_->item(a, ColMax)->setText(QString::number(calMax_[size_t(a)]));
    }
    // A lever that springs back rests at its centre now.
    readTables();
    for (AxisMapping& m : current_.axes)
        if (m.role == AxisRole::Combined && size_t(m.axis) < calMax_.size() &&
            calMax_[size_t(m.axis)] > calMin_[size_t(m.axis)]) {
            const int rest = devices_->sdl().axisValue(device_, m.axis);
            const int span = int(std::clamp<int64_t>(int64_t(m.max) - m.min, INT_MIN, INT_MAX));
            if (rest > m.min + span / 10 && rest < m.max - span / 10)
                m.centre = rest;
            else
                m.centre.reset();
        }
    note_->setText(tr("Calibrated. Save keeps it."));
}

bool PadDialog::save() {
    if (device_ < 0) return true;
    readTables();
    std::string why;
    if (!savePadMapping(".", current_, &why)) {
        note_->setText(tr("gamepad.txt cannot be written in the data folder.") + "\n" + QString::fromStdString(why));
        return false;
    }
    storePadMapping(mappings_, current_);
    return true;
}

}  // namespace ts
