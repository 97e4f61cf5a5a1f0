// The ground's vanishing row read off the rails of one picture: rails drawn
// here with a known meeting row, straight and curved, among bright stones
// of the ballast, and pictures without a pair of rails to follow.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "motion/rails_row.h"

using namespace ts::motion;

namespace {

constexpr int kWidth = 320, kHeight = 160;

struct Picture {
    std::vector<uint8_t> pixels = std::vector<uint8_t>(size_t(kWidth * kHeight), 90);
    GreyPicture grey() const { return {pixels.data(), kWidth, kHeight, kWidth}; }
    void blend(double x, int y, double width, int value) {
        // A line `width` pixels wide centred on x, its edge pixels in part.
        for (int c = int(std::floor(x - width / 2)) - 1; c <= int(std::ceil(x + width / 2)) + 1; ++c) {
            if (c < 0 || c >= kWidth || y < 0 || y >= kHeight) continue;
            const double cover =
                std::clamp(std::min(c + 1.0, x + width / 2) - std::max(double(c), x - width / 2), 0.0, 1.0);
            uint8_t& p = pixels[size_t(y * kWidth + c)];
            p = uint8_t(std::lround(p * (1 - cover) + value * cover));
        }
    }
};

// Stones of the ballast: light and dark specks over the lower picture, a
// few as light as the rails' heads.
void scatterStones(Picture& p, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> x(0, kWidth - 4), y(kHeight / 3, kHeight - 3), shade(40, 200), size(1, 3);
    for (int k = 0; k < 900; ++k) {
        const int x0 = x(random), y0 = y(random), w = size(random), v = shade(random);
        for (int dy = 0; dy < w; ++dy)
            for (int dx = 0; dx < w; ++dx) p.pixels[size_t((y0 + dy) * kWidth + x0 + dx)] = uint8_t(v);
    }
}

// Rails meeting at `row` (in rows counted from pixel middles), `gauge`
// pixels apart per row below it, bent by a curve that moves both alike.
void drawRails(Picture& p, double row, double gauge, double curve, int fromRow = 0) {
    for (int y = std::max(fromRow, int(row) + 3); y < kHeight; ++y) {
        const double below = y - row, middle = kWidth / 2.0 + curve / below;
        p.blend(middle - gauge * below / 2, y, 1.5, 215);
        p.blend(middle + gauge * below / 2, y, 1.5, 215);
    }
}

}  // namespace

TEST(RailsRow, StraightAndCurvedRailsMeetOnTheVanishingRow) {
    struct Case {
        double row, gauge, curve;
    };
    for (const Case c : {Case{70.3, 0.44, 0}, Case{58.6, 0.44, 180}, Case{92.7, 0.5, -120}, Case{41.2, 0.3, 60}}) {
        Picture p;
        scatterStones(p, unsigned(c.row * 10));
        drawRails(p, c.row, c.gauge, c.curve);
        const auto found = railsVanishingRow(p.grey());
        ASSERT_TRUE(found) << "rails meeting at row " << c.row;
        EXPECT_NEAR(*found, c.row, 0.3) << "rails meeting at row " << c.row << ", curve " << c.curve;
    }
}

TEST(RailsRow, NoPairOfRailsToFollowGivesNoRow) {
    Picture stones;
    scatterStones(stones, 7);
    EXPECT_FALSE(railsVanishingRow(stones.grey()));
    // Rails seen over a few rows only (the rest under snow, or dark).
    Picture stub;
    scatterStones(stub, 8);
    drawRails(stub, 70, 0.44, 0, kHeight - 12);
    EXPECT_FALSE(railsVanishingRow(stub.grey()));
    // An empty or tiny picture.
    EXPECT_FALSE(railsVanishingRow({}));
    Picture plain;
    EXPECT_FALSE(railsVanishingRow(plain.grey()));
}
