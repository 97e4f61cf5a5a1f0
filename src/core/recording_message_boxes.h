// Message boxes that never block: each text is kept until taken.
#pragma once
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "devices/messages.h"

namespace ts {

class RecordingMessageBoxes final : public MessageBoxes {
public:
    void show(const std::string& text) override { showWithDetails(text, {}); }
    void showWithDetails(const std::string& text, const std::string& details) override {
        std::lock_guard lock(m_);
        texts_.push_back(text);
        details_.push_back(details);
        all_.push_back(text);
        allDetails_.push_back(details);
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
    // The detailed texts of the messages since the last call (empty for a
    // message without one), in the order of their messages.
    std::vector<std::string> takeDetails() {
        std::lock_guard lock(m_);
        return std::exchange(details_, {});
    }
    std::vector<std::string> allDetails() const {
        std::lock_guard lock(m_);
        return allDetails_;
    }

private:
    mutable std::mutex m_;
    std::vector<std::string> texts_;
    std::vector<std::string> all_;
    std::vector<std::string> details_;
    std::vector<std::string> allDetails_;
};

}  // namespace ts
