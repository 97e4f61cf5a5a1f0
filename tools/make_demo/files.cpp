#include "files.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>

#include <jpeglib.h>

namespace demo {

void writeText(const fs::path& p, const std::string& text) {
    fs::create_directories(p.parent_path());
    std::string out;
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    std::ofstream(p, std::ios::binary) << out;
}

void writeWave(const fs::path& p, const std::vector<float>& samples, int rate) {
    fs::create_directories(p.parent_path());
    std::string data;
    data.reserve(samples.size() * 2);
    for (float s : samples) {
        const int v = int(std::lround(std::clamp(s, -1.0f, 1.0f) * 32000));
        data += char(v & 0xFF);
        data += char((v >> 8) & 0xFF);
    }
    auto le32 = [](uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; };
    std::string fmt = std::string("\x01\x00\x01\x00", 4) + le32(uint32_t(rate)) + le32(uint32_t(rate * 2)) +
                      std::string("\x02\x00\x10\x00", 4);
    const std::string body = "WAVEfmt " + le32(16) + fmt + "data" + le32(uint32_t(data.size())) + data;
    std::ofstream(p, std::ios::binary) << "RIFF" << le32(uint32_t(body.size())) << body;
}

void writePicture(const fs::path& p, const QImage& image) {
    fs::create_directories(p.parent_path());
    image.save(QString::fromStdString(p.string()));
}

bool writeJpeg(const fs::path& p, const QImage& image, int quality) {
    fs::create_directories(p.parent_path());
    FILE* f = std::fopen(p.c_str(), "wb");
    if (!f) return false;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    jpeg_compress_struct info;
    jpeg_error_mgr err;
    info.err = jpeg_std_error(&err);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, f);
    info.image_width = JDIMENSION(rgb.width());
    info.image_height = JDIMENSION(rgb.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<uchar*>(rgb.constScanLine(int(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::fclose(f);
    return true;
}

}  // namespace demo
