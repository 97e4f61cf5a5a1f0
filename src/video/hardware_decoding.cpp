#include "video/hardware_decoding.h"

extern "C" {
#include <libavutil/hwcontext.h>
}

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>

namespace ts {

namespace {

struct Device {
    AVBufferRef* ref = nullptr;
    AVHWDeviceType type = AV_HWDEVICE_TYPE_NONE;
};

bool turnedOff() {
    const char* v = std::getenv("TRAINSIM_HARDWARE_DECODING");
    return v && (std::strcmp(v, "0") == 0 || std::strcmp(v, "off") == 0 || std::strcmp(v, "no") == 0);
}

bool haveRenderNode() {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator("/dev/dri", ec))
        if (entry.path().filename().string().rfind("renderD", 0) == 0) return true;
    return false;
}

// Opened once and kept for the process's life: opening a device costs tens
// of milliseconds and the drivers log a greeting each time.
const Device& device() {
    static Device d;
    static std::once_flag once;
    std::call_once(once, [] {
        if (turnedOff()) return;
        // VAAPI through a render node; VDPAU needs an X display.
        if (haveRenderNode() && av_hwdevice_ctx_create(&d.ref, AV_HWDEVICE_TYPE_VAAPI, nullptr, nullptr, 0) == 0) {
            d.type = AV_HWDEVICE_TYPE_VAAPI;
            return;
        }
        if (std::getenv("DISPLAY") && av_hwdevice_ctx_create(&d.ref, AV_HWDEVICE_TYPE_VDPAU, nullptr, nullptr, 0) == 0)
            d.type = AV_HWDEVICE_TYPE_VDPAU;
    });
    return d;
}

}  // namespace

bool attachHardwareDecoding(AVCodecContext* codec, const AVCodec* decoder) {
    if (!codec || !decoder) return false;
    const Device& d = device();
    if (!d.ref) return false;
    for (int i = 0;; ++i) {
        const AVCodecHWConfig* config = avcodec_get_hw_config(decoder, i);
        if (!config) return false;
        if ((config->methods & AV_CODEC_HW_CONFIG_METHOD_HW_DEVICE_CTX) && config->device_type == d.type) break;
    }
    // With a device given, the decoder's default choice of output format takes
    // the device's, and falls back to software when the device refuses the stream.
    codec->hw_device_ctx = av_buffer_ref(d.ref);
    return codec->hw_device_ctx != nullptr;
}

bool pictureToMainMemory(AVFrame* picture, AVFrame* scratch) {
    if (!picture->hw_frames_ctx) return true;
    av_frame_unref(scratch);
    if (av_hwframe_transfer_data(scratch, picture, 0) < 0) return false;
    if (av_frame_copy_props(scratch, picture) < 0) return false;
    av_frame_unref(picture);
    av_frame_move_ref(picture, scratch);
    return true;
}

}  // namespace ts
