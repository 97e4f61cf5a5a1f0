// The ride's speed over time as one continuous piecewise-linear curve fitted
// by least squares to the distances run. A train changes speed in spells of
// steady pulling, braking or running with sudden changes between them (a
// notch taken, the brake released at the stop); a moving window rounds those
// corners off by several km/h, a curve with a knot at each keeps them. The
// knots are found by cutting the fix-to-fix speeds into straight pieces (a
// penalty per piece against the noise measured on the track itself), then
// each knot is moved to where the curve fits the distances best, and knots
// the distances do not need are dropped.
#pragma once
#include <vector>

#include "gps/ride_path.h"

namespace ts::gps {

struct SpeedCurve {
    std::vector<double> times;   // seconds after the first fix, increasing
    std::vector<double> speeds;  // m/s at each knot
    // The speed at t, held at the end knots' values outside them.
    double at(double t) const;
};

struct CurveOptions {
    double minPieceSeconds = 3;  // no two knots closer: the speed changes over at least this
    // Per piece when cutting the fix-to-fix speeds, in units of their noise
    // variance times log(fixes): low, so that no change of course is missed.
    double penalty = 1;
    // A knot that lowers the distances' residuals by less than this (in units
    // of their variance times log(fixes)) goes. High, since the GPS error
    // wanders and neighbouring residuals share it.
    double removal = 20;
    // Cut the pieces on the fixes' own distances, when those are the steadier
    // (integrated from the receiver's speeds).
    bool cutOnOwnDistance = false;
};

// At least two samples with distinct times. The pieces are cut on their
// distances, the curve fitted to their own distances (`ownDistance`).
SpeedCurve fitSpeedCurve(const std::vector<PathSample>& samples, const CurveOptions& options = {});

}  // namespace ts::gps
