// Where the rails meet: the ground's vanishing row read off the track itself.
// The two rails are the brightest long lines of a cab view and lie in a plane
// parallel to the ground, so they meet on the ground's vanishing line. Their
// distance apart along a row grows in step with the row's distance below that
// line, whatever the track's curve (a curve moves both rails alike), the
// speed, or how the flow measures; so a straight line through the gauge of
// each row, taken to where the gauge is 0, gives the row from one picture,
// to a fraction of a row, even where the train stands.
#pragma once
#include <cstdint>
#include <optional>

namespace ts::motion {

// A grey picture, `stride` bytes from row to row.
struct GreyPicture {
    const uint8_t* pixels = nullptr;
    int width = 0, height = 0, stride = 0;
    int at(int x, int y) const { return pixels[size_t(y) * size_t(stride) + size_t(x)]; }
};

// The row where the rails, followed up from the bottom of the picture, meet;
// nullopt where no pair of rails can be followed far enough (night, snow,
// points, the picture's own train in the way).
std::optional<double> railsVanishingRow(const GreyPicture& picture);

}  // namespace ts::motion
