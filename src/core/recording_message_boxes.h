// Message boxes that never block: each text is kept until taken.
#pragma once
#include <mutex>
#include <utility>
#include <string>
#include <vector>

#include "devices/messages.h"

namespace ts {

class RecordingMessageBoxes final : public MessageBoxes {
public:
    void show(const std::string& text) override {
        std::lock_guard lock(m_);
        texts_.push_back(text);
        all_.push_back(text);
    }
    // The texts shown since the last call.
    std::vector<std::string> take() {
        std::lock_guard lock(m_);
        return std::exchange(texts_, {});
    }
    std::vector<std::string> all() const {
        std::lock_guard lock(m_);
        return all_;
    }

private:
    mutable std::mutex m_;
    std::vector<std::string> texts_;
    std::vector<std::string> all_;
};

}  // namespace ts
