// Gradients from the track's heights. GPS height is noisy, so heights are
// first gathered into 5 m steps of distance and smoothed over a window of at
// least 100 m (200 m unless told, a line fitted with weights falling to nothing
// at its ends); the averaged profile is cut into straight pieces where it bends
// (within a height tolerance), and neighbouring pieces whose gradients differ
// by less than the gradient tolerance are merged (never so far that two pieces
// of one section differ by the tolerance or more). The sections' ends are then
// moved to fit the heights themselves, and each gradient is taken from a
// least-squares fit of the heights, not from the smoothed profile.
#pragma once
#include <vector>

#include "gps/ride_path.h"

namespace ts::gps {

struct GradientOptions {
    double windowMetres = 200;  // at least 100
    double toleranceMille = 1;  // neighbours closer than this are one section
    double heightToleranceMetres = 0.3;
};

struct GradientSection {
    double fromMetres = 0, toMetres = 0;
    double mille = 0;       // rounded to 0.1
    double errorMille = 0;  // how far the heights' noise may have put the gradient off
};

// The spread of the track's heights about their smoothed profile (metres):
// the noise of each height, which bounds how well a section's gradient is known.
double heightNoise(const RidePath& path, const GradientOptions& options = {});

// Throws ImportError when no point of the ride has a height.
std::vector<GradientSection> gradientSections(const RidePath& path, const GradientOptions& options = {});

}  // namespace ts::gps
