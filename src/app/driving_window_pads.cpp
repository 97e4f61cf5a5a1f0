// The driving window's game controllers: hot-plug with its status line, the
// controller in use handed to the run, and the mapping dialog.
#include <QStatusBar>

#include "app_state.h"
#include "controls/pad_file.h"
#include "driving_window.h"
#include "pad_dialog.h"

namespace ts {

void TForm1::startPadDevices() {
    padDevices_ = new PadDevices(this);
    padDevices_->onConnected = [this](const PadDeviceInfo& d) { padConnect(d.guid, d.name, d.gamepad); };
    padDevices_->onDisconnected = [this](const PadDeviceInfo&) { padDisconnect(); };
    padDevices_->onAxis = [this](int axis, int value) { padAxis(axis, value); };
    padDevices_->onButton = [this](int button, bool down) { padButton(button, down); };
}

void TForm1::padConnect(const std::string& guid, const std::string& name, bool gamepad) {
    const auto kept = loadPadMappings(".");
    const PadMapping* m = guid.empty() ? nullptr : findPadMapping(kept, guid);
    PadMapping mapping = m ? *m : gamepad ? defaultGamepadMapping() : defaultJoystickMapping();
    mapping.guid = guid;
    if (!name.empty()) mapping.name = name;
    pad_.connect(mapping);
    run_->padConnected(guid);
    showStatus(tr("Game controller connected: %1").arg(QString::fromStdString(mapping.name)));
}

void TForm1::padDisconnect() {
    if (!pad_.connected()) return;
    pad_.disconnect();
    run_->padDisconnected();
    showStatus(tr("Game controller disconnected: %1. The handles stay where they are.")
                   .arg(QString::fromStdString(pad_.mapping().name)));
}

void TForm1::padAxis(int axis, int value) {
    run_->padAxis(pad_, axis, value);
    refresh();
}

void TForm1::padButton(int button, bool down) {
    run_->padButton(pad_, button, down);
    refresh();
}

void TForm1::showStatus(const QString& text) {
    // Hidden until a message comes, so that the window keeps its size otherwise.
    statusBar()->setSizeGripEnabled(false);
    statusBar()->show();
    statusBar()->showMessage(text, 10000);
}

QString TForm1::statusText() const {
    const auto* bar = findChild<QStatusBar*>();
    return bar ? bar->currentMessage() : QString();
}

void TForm1::gameControllerClick() {
    PadDialog dialog(this, padDevices_,
                     run_->locked([](Run& r, PanelModel&) { return handleRanges(r, r.brakeNotchCount); }));
    if (dialog.exec() != QDialog::Accepted) return;
    // The controller in use takes its new mapping at once.
    if (pad_.connected())
        if (const PadMapping* m = findPadMapping(dialog.mappings(), pad_.mapping().guid)) pad_.connect(*m);
}

}  // namespace ts
