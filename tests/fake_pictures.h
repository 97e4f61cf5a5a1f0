// A picture loader for core tests: a "picture" file holds its size as "WxH".
#pragma once
#include <fstream>
#include <sstream>
#include <vector>

#include "data/pictures.h"

namespace ts::test {

class FakePictures final : public PictureLoader {
public:
    std::optional<int> load(const std::string& path) override {
        std::ifstream in(path);
        int w = 0, h = 0;
        char x = 0;
        if (!(in >> w >> x >> h) || x != 'x') return std::nullopt;
        sizes.push_back({w, h});
        paths.push_back(path);
        return int(sizes.size()) - 1;
    }
    PictureSize size(int id) const override { return sizes.at(size_t(id)); }
    std::vector<PictureSize> sizes;
    std::vector<std::string> paths;
};

}  // namespace ts::test
