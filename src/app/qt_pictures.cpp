#include "qt_pictures.h"

#include <QImageReader>

#include "devices/file_check.h"

namespace ts {

std::optional<int> QtPictures::load(const std::string& path) {
    if (checkFile(path) != FileRefusal::None) return std::nullopt;
    QImageReader reader(QString::fromStdString(path));
    reader.setDecideFormatFromContent(true);
    QImage img = reader.read();
    if (img.isNull()) return std::nullopt;
    std::lock_guard lock(m_);
    images_.push_back(img);
    keyed_.emplace_back();
    return int(images_.size()) - 1;
}

PictureSize QtPictures::size(int id) const {
    std::lock_guard lock(m_);
    if (id < 0 || id >= int(images_.size())) return {};
    return {images_[size_t(id)].width(), images_[size_t(id)].height()};
}

QImage QtPictures::image(int id) const {
    std::lock_guard lock(m_);
    if (id < 0 || id >= int(images_.size())) return {};
    return images_[size_t(id)];
}

QImage QtPictures::transparentImage(int id) const {
    std::lock_guard lock(m_);
    if (id < 0 || id >= int(images_.size())) return {};
    QImage& cached = keyed_[size_t(id)];
    if (!cached.isNull()) return cached;
    const QImage& src = images_[size_t(id)];
    if (src.hasAlphaChannel()) {
        cached = src.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        return cached;
    }
    QImage out = src.convertToFormat(QImage::Format_ARGB32);
    if (!out.isNull() && out.height() > 0) {
        const QRgb key = out.pixel(0, out.height() - 1);
        for (int y = 0; y < out.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
            for (int x = 0; x < out.width(); ++x)
                if ((line[x] & 0xFFFFFF) == (key & 0xFFFFFF)) line[x] = 0;
        }
    }
    cached = out.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    return cached;
}

}  // namespace ts
