// Decodes a JPEG file with libjpeg into a QImage.
#pragma once
#include <QImage>
#include <string>

namespace ts {

// A null image when the file is missing or not a JPEG.
QImage loadJpeg(const std::string& path);

}  // namespace ts
