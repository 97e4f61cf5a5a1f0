// Pictures loaded with Qt's image reader (BMP, PNG, JPEG, ...), kept by id
// for drawing the cab panel.
#pragma once
#include <QImage>
#include <mutex>
#include <vector>

#include "data/pictures.h"

namespace ts {

class QtPictures final : public PictureLoader {
public:
    std::optional<int> load(const std::string& path) override;
    PictureSize size(int id) const override;

    QImage image(int id) const;
    // The picture drawn transparently: its own alpha channel when it has one,
    // otherwise the colour of its bottom-left pixel is made transparent.
    QImage transparentImage(int id) const;

private:
    mutable std::mutex m_;
    std::vector<QImage> images_;
    mutable std::vector<QImage> keyed_;
};

}  // namespace ts
