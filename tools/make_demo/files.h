// Writing the demo data set's files: text, waves and pictures.
#pragma once
#include <QImage>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace demo {

namespace fs = std::filesystem;

void writeText(const fs::path& p, const std::string& text);  // CR LF line ends, as data sets made on Windows
void writeWave(const fs::path& p, const std::vector<float>& samples, int rate = 22050);
void writePicture(const fs::path& p, const QImage& image);
bool writeJpeg(const fs::path& p, const QImage& image, int quality);

}  // namespace demo
