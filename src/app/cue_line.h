// What the run says only by sound, shown over the driver's view: one line
// where the release hints stand (the departure melody and the doors, the
// call-out's answer, the train protection's chime), a "Paused" overlay, and a
// labelled distance to the stop mark within 500 m of a stop. Each goes when
// its state ends.
#pragma once
#include <QString>

#include <optional>

#include "events/driver_cue.h"

QT_BEGIN_NAMESPACE
class QLabel;
class QWidget;
QT_END_NAMESPACE

namespace ts {

class CabView;

// What the lines are made from, read under the run's lock.
struct CueState {
    DoorCue door = DoorCue::None;
    bool oneMan = false;
    bool paused = false;            // started, steps stopped
    bool releaseHintShown = false;  // the release hint takes the line
    // The call-out to show (the last one, for three seconds of the run's clock).
    std::optional<CallOut> callOut;
    bool chime = false;                // an alarm was just confirmed
    std::optional<double> stopMetres;  // to the stop mark, when within 500 m of a stop
};

// The line's text, empty for none.
QString cueText(const CueState& s);
QString callOutText(const CallOut& c);

class CueLine {
public:
    explicit CueLine(CabView* cab);
    void show(const CueState& s);
    // Follows the view's scale.
    void place(double scale);
    // The fixed texts in the current language (the cues follow at the next show()).
    void retranslate();
    QLabel* line() const { return line_; }
    QLabel* pausedOverlay() const { return paused_; }
    QLabel* distance() const { return distance_; }

private:
    CabView* cab_;
    QLabel* line_;
    QLabel* paused_;
    QLabel* distance_;
};

}  // namespace ts
