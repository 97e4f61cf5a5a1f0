#include "app_state.h"

namespace ts {

AppState& app() {
    static AppState state;
    return state;
}

}  // namespace ts
