#include "window_fixture.h"

#include "app_state.h"
#include "help_window.h"
#include "value_window.h"

namespace ts::test {

void WindowFixture::openWindows(const std::filesystem::path& folder, TimerFactory* timers) {
    cwd_ = std::make_unique<ScopedCwd>(folder);
    app().boxes = &boxes_;
    app().timers = timers ? timers : &timers_;
    app().help = new TForm4;
    app().valueDisplay = new TForm3;
    title_ = new TForm5;
    app().title = title_;
}

void WindowFixture::TearDown() {
    if (form_) form_->close();
    form_ = nullptr;
    delete title_;
    title_ = nullptr;
    delete app().help;
    delete app().valueDisplay;
    delete app().current;
    app() = AppState{};
    cwd_.reset();
}

}  // namespace ts::test
