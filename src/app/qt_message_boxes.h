// Message boxes shown as plain modal Qt message boxes.
#pragma once
#include "devices/messages.h"

namespace ts {

class QtMessageBoxes final : public MessageBoxes {
public:
    void show(const std::string& text) override;
};

}  // namespace ts
