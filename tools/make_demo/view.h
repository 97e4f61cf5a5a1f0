// Renders the recorded run of a demo line as the driver's view, frame by
// frame, from the same description that writes the route file.
#pragma once
#include <QImage>
#include <vector>

#include "line.h"

namespace demo {

class ViewRenderer {
public:
    explicit ViewRenderer(const Line& line);
    ~ViewRenderer();
    QImage frame(int index) const;  // 480 x 240
    // Distance run from frame 0, metres.
    double distanceAt(int frame) const;

private:
    struct Object;
    const Line& line_;
    std::vector<double> distance_;  // metres at each frame
    std::vector<Object> objects_;
    // Pictures of the lineside objects, drawn once and only scaled per frame.
    std::vector<QImage> signals_, signs_, others_, boards_;
};

}  // namespace demo
