// Pictures named in data files. The core keeps only an id and a size per
// picture; whoever draws the panel keeps the pixels behind the id.
#pragma once
#include <optional>
#include <string>
#include <vector>

namespace ts {

struct PictureSize {
    int width = 0;
    int height = 0;
};

class PictureLoader {
public:
    virtual ~PictureLoader() = default;
    // Loads a picture file (path already resolved); nullopt when it cannot be loaded.
    virtual std::optional<int> load(const std::string& path) = 0;
    virtual PictureSize size(int id) const = 0;
};

// A list of same-sized pictures drawn by index (signal aspects, signs, notch indicators).
struct ImageList {
    int width = 0;
    int height = 0;
    std::vector<int> pictures;

    int count() const { return int(pictures.size()); }
    bool holds(int index) const { return index >= 0 && index < count(); }
};

}  // namespace ts
