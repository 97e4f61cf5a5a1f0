// Decoding on the graphics hardware through FFmpeg's VAAPI or VDPAU, when
// the machine offers a device for it: the live views (driving window, route
// editor) ask for it, everything that must give the same bytes everywhere
// (the drive mode, working copies, the motion analysis) decodes in software.
// A decoder that cannot use the device (another codec, a profile the device
// lacks, a driver that refuses) falls back to software on its own.
#pragma once
extern "C" {
#include <libavcodec/avcodec.h>
}

namespace ts {

// Attaches the process's hardware device to `codec` (before avcodec_open2)
// when there is one and `decoder` can use it; true when attached. The
// device is opened once, on first use: none when the machine has no render
// node (/dev/dri) or VDPAU display, or TRAINSIM_HARDWARE_DECODING is 0.
bool attachHardwareDecoding(AVCodecContext* codec, const AVCodec* decoder);

// A picture decoded into device memory brought to main memory, in place,
// keeping its timestamps and shape; pictures already there are left alone.
// False when the device cannot give it up.
bool pictureToMainMemory(AVFrame* picture, AVFrame* scratch);

}  // namespace ts
