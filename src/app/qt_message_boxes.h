// Message boxes shown as plain modal Qt message boxes.
#pragma once
#include <functional>

#include "devices/messages.h"

class QMessageBox;

namespace ts {

class QtMessageBoxes final : public MessageBoxes {
public:
    void show(const std::string& text) override;
    // The detailed text is behind the box's "Show Details..." button.
    void showWithDetails(const std::string& text, const std::string& details) override;
    // Called with the box just before it is shown (tests close it from here).
    std::function<void(QMessageBox&)> beforeExec;
};

}  // namespace ts
