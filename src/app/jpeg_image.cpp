#include "jpeg_image.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

#include "devices/file_check.h"

namespace ts {

namespace {

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

void onError(j_common_ptr info) {
    auto* err = reinterpret_cast<ErrorManager*>(info->err);
    std::longjmp(err->jump, 1);
}

void onMessage(j_common_ptr) {}

}  // namespace

QImage loadJpeg(const std::string& path) {
    if (checkFile(path) != FileRefusal::None) return {};
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return {};
    jpeg_decompress_struct info;
    ErrorManager err;
    info.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = onError;
    err.pub.output_message = onMessage;
    QImage* image = new QImage;  // on the heap: longjmp must not skip a destructor
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&info);
        std::fclose(file);
        delete image;
        return {};
    }
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_BGRX;
    jpeg_start_decompress(&info);
    *image = QImage(int(info.output_width), int(info.output_height), QImage::Format_RGB32);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image->scanLine(int(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    std::fclose(file);
    QImage result = *image;
    delete image;
    return result;
}

}  // namespace ts
