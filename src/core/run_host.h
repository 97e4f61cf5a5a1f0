// What a run asks of the window that shows it: the one seam between the core
// and a front end (the Qt window, the drive mode, a test). Every call has a
// default that does nothing, so a host implements only what it has.
#pragma once
#include <string>

#include "controls/keys.h"

namespace ts {

class RunHost {
public:
    // A controller switch that goes through the window's input queue as a key.
    enum class PostedInput { Space, Horn, Enter };

    virtual ~RunHost() = default;
    // A loading message for the title screen's status line.
    virtual void progress(const std::string&) {}
    // After every 100 ms step, on the user-interface thread, outside the run's lock.
    virtual void afterPresentationStep() {}
    // The end of the line: close the window (user-interface thread).
    virtual void requestClose() {}
    // Posts a key to the window's input queue, to arrive after the current input.
    virtual void postInput(PostedInput) {}
    // The train moved onto another frame; called by the simulation step on any thread.
    virtual void frameAdvanced() {}
    // Closing the window closes the serial port first.
    virtual void closeSerialPort() {}
    // The help and value-display windows that F3 and F2 show and hide.
    virtual bool isShown(AuxWindow) const { return false; }
    virtual void setShown(AuxWindow, bool) {}
};

}  // namespace ts
