// A straight line fitted by least squares to points added one by one: the
// vanishing row of the ground's flow and of the rails' gauge are both where
// such a line meets 0.
#pragma once
#include <optional>

namespace ts::motion {

struct StraightLine {
    double slope = 0, intercept = 0;
    double at(double x) const { return slope * x + intercept; }
    double zero() const { return -intercept / slope; }  // slope not 0
};

class LineFit {
public:
    void add(double x, double y) { sx_ += x, sy_ += y, sxx_ += x * x, sxy_ += x * y, ++count_; }
    int count() const { return count_; }
    // nullopt with fewer than two different x.
    std::optional<StraightLine> line() const {
        const double den = count_ * sxx_ - sx_ * sx_;
        if (den <= 0) return std::nullopt;
        const double slope = (count_ * sxy_ - sx_ * sy_) / den;
        return StraightLine{slope, (sy_ - slope * sx_) / count_};
    }

private:
    double sx_ = 0, sy_ = 0, sxx_ = 0, sxy_ = 0;
    int count_ = 0;
};

}  // namespace ts::motion
