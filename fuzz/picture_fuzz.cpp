// Picture loading on arbitrary bytes, under the two names a data file may
// give (a bitmap and a JPEG): either refused, or a picture with a size that
// can be drawn transparently.
#include <QGuiApplication>

#include "fuzz_support.h"
#include "jpeg_image.h"
#include "qt_pictures.h"

using namespace ts;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);  // the image format plugins
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const bool jpegName = size > 0 && data[0] % 2 == 1;
    const std::string path = fuzz::writeScratch(jpegName ? "p.jpg" : "p.bmp", data, size);
    QtPictures pictures;
    if (const auto id = pictures.load(path)) {
        const PictureSize s = pictures.size(*id);
        if (s.width <= 0 || s.height <= 0) fuzz::fail("a loaded picture without a size");
        const QImage keyed = pictures.transparentImage(*id);
        if (keyed.width() != s.width || keyed.height() != s.height) fuzz::fail("the transparent picture changed size");
    }
    const QImage jpeg = loadJpeg(path);
    if (!jpeg.isNull() && (jpeg.width() <= 0 || jpeg.height() <= 0)) fuzz::fail("a JPEG without a size");
    return 0;
}
