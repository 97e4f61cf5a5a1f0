// RxChar: one message of the serial master controller.
#include <algorithm>
#include <cstdlib>

#include "controls/handle_model.h"
#include "driving_run.h"

namespace ts {

namespace {
constexpr int kControllerEntries = 22;
}

void DrivingRun::RxChar(const std::string& message) {
    std::vector<PostedInput> posted;
    {
        std::lock_guard lock(mutex_);
        Run& r = run_;
        commonInputStart();
        panel_.valueDisplayCaption = message;
        const std::string m = message.substr(0, 5);
        static const std::string kEmpty;
        for (int i = 0; i < kControllerEntries; ++i) {
            // Entries the map does not define are empty texts.
            const std::string& code = i < int(r.controllerCodes.size()) ? r.controllerCodes[size_t(i)] : kEmpty;
            if (code != m) continue;
            if (i <= 15) {
                // The unit has six power notches and nine brake positions; the
                // train's own counts bound what is stored.
                const int power = i <= 5 ? i + 1 : 0;
                const int brake = i <= 6 ? 0 : -(i - 6);
                r.powerNotch = std::clamp(power, 0, std::max(r.powerNotchCount, 0));
                r.brakeNotch = std::clamp(brake, -std::max(r.brakeNotchCount, 0), 0);
                r.powerHandleMoved = 1;
                r.brakeHandleMoved = 1;
                if (i == 15) restart(services_.sound, r.soundEB);
                masconupdate(r, panel_);
            } else if (i <= 18) {
                if (std::llabs(r.speed) <= 10000) r.reverser = i == 16 ? 1 : i == 17 ? 0 : -1;
                masconupdate(r, panel_);
            } else if (i == 19) {
                posted.push_back(PostedInput::Space);
            } else if (i == 20) {
                posted.push_back(PostedInput::Horn);
            } else {
                posted.push_back(PostedInput::Enter);
            }
        }
    }
    // Posted input goes through the window's input queue, after this message.
    if (postInput)
        for (PostedInput p : posted) postInput(p);
}

}  // namespace ts
