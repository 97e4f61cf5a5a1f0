#include "video/disposable_pictures.h"

#include <algorithm>

namespace ts {

namespace {

constexpr int kHevcSps = 33;
// Picture numbers beyond this are not tracked (and so never dropped).
constexpr int kMostTracked = 1 << 26;

// The start of the next Annex B start code (00 00 01) at or after `from`; `size` when none.
size_t startCode(const uint8_t* data, size_t size, size_t from) {
    for (size_t i = from; i + 3 <= size; ++i)
        if (data[i] == 0 && data[i + 1] == 0 && data[i + 2] == 1) return i;
    return size;
}

}  // namespace

DisposablePictures::DisposablePictures(const AVCodecParameters* par) {
    if (!par) return;
    const uint8_t* extra = par->extradata;
    const size_t extraSize = par->extradata ? size_t(par->extradata_size) : 0;
    if (par->codec_id == AV_CODEC_ID_H264) {
        codec_ = Codec::H264;
        // An avcC record (MP4, Matroska) starts with version 1; else start codes.
        if (extraSize >= 7 && extra[0] == 1) lengthSize_ = (extra[4] & 3) + 1;
    } else if (par->codec_id == AV_CODEC_ID_HEVC) {
        codec_ = Codec::HEVC;
        if (extraSize >= 23 && extra[0] == 1) {
            lengthSize_ = (extra[21] & 3) + 1;
            readHevcConfiguration(extra, extraSize);
        } else if (extraSize > 0) {
            forEachNal(extra, extraSize, [this](const uint8_t* nal, size_t n) {
                if (n >= 3 && (nal[0] >> 1 & 0x3F) == kHevcSps) hevcTopSubLayer_ = nal[2] >> 1 & 7;
                return true;
            });
        }
    }
}

void DisposablePictures::readHevcConfiguration(const uint8_t* data, size_t size) {
    // hvcC: 22 bytes of profile and format, then arrays of parameter set NAL units.
    size_t p = 23;
    for (int arrays = data[22]; arrays > 0 && p + 3 <= size; --arrays) {
        const int type = data[p] & 0x3F;
        int count = data[p + 1] << 8 | data[p + 2];
        p += 3;
        for (; count > 0 && p + 2 <= size; --count) {
            const size_t n = size_t(data[p]) << 8 | data[p + 1];
            p += 2;
            if (p + n > size) return;
            // The byte after the two-byte header: vps id (4), max_sub_layers_minus1 (3), nesting (1).
            if (type == kHevcSps && n >= 3) hevcTopSubLayer_ = data[p + 2] >> 1 & 7;
            p += n;
        }
    }
}

bool DisposablePictures::forEachNal(const uint8_t* data, size_t size,
                                    const std::function<bool(const uint8_t*, size_t)>& nal) const {
    if (lengthSize_ > 0) {
        size_t p = 0;
        while (p < size) {
            if (p + size_t(lengthSize_) > size) return false;
            size_t n = 0;
            for (int b = 0; b < lengthSize_; ++b) n = n << 8 | data[p + size_t(b)];
            p += size_t(lengthSize_);
            if (n == 0 || n > size - p) return false;
            if (!nal(data + p, n)) return false;
            p += n;
        }
        return true;
    }
    size_t at = startCode(data, size, 0);
    if (at == size) return false;
    while (at < size) {
        const size_t begin = at + 3;
        size_t end = startCode(data, size, begin);
        const size_t next = end;
        // Trailing zeros belong to the next start code (00 00 00 01).
        while (end > begin && data[end - 1] == 0) --end;
        if (end > begin && !nal(data + begin, end - begin)) return false;
        at = next;
    }
    return true;
}

bool DisposablePictures::disposable(const uint8_t* data, size_t size) {
    if (codec_ == Codec::Other || !data || size == 0) return false;
    int slices = 0;
    bool needed = false;
    const bool framed = forEachNal(data, size, [&](const uint8_t* nal, size_t n) {
        if (codec_ == Codec::H264) {
            const int type = nal[0] & 0x1F, refIdc = nal[0] >> 5 & 3;
            if (nal[0] & 0x80) return false;  // forbidden_zero_bit: damaged
            if (type >= 1 && type <= 5) {
                ++slices;
                if (type == 5 || refIdc != 0) needed = true;
            } else if (type == 14 || type == 15 || type == 20) {
                needed = true;  // scalable or multi-view extensions: not looked into
            }
            return true;
        }
        if (n < 2 || (nal[0] & 0x80)) return false;
        const int type = nal[0] >> 1 & 0x3F, temporalId = (nal[1] & 7) - 1;
        if (type == kHevcSps && n >= 3) hevcTopSubLayer_ = nal[2] >> 1 & 7;
        if (type < 32) {
            ++slices;
            // Sub-layer non-reference kinds are the even ones up to 14; a
            // picture of a lower sub-layer may still be referred to by a higher one.
            const bool subLayerNonReference = type <= 14 && type % 2 == 0;
            if (!subLayerNonReference || temporalId < 0 || temporalId != hevcTopSubLayer_) needed = true;
        }
        return true;
    });
    return framed && slices > 0 && !needed;
}

PictureSkipping::PictureSkipping(const AVCodecParameters* par, const StreamTiming& timing)
    : disposable_(par), timing_(timing) {}

bool PictureSkipping::seen(int picture) const {
    return picture >= 0 && size_t(picture) < seen_.size() && seen_[size_t(picture)];
}

bool PictureSkipping::skip(const AVPacket& packet) {
    if (!disposable_.knows() || packet.pts == AV_NOPTS_VALUE) return false;
    const int picture = timing_.indexOf(packet.pts, -1);
    if (picture < 0 || picture >= kMostTracked) return false;
    const bool before = seen(picture - 1);
    if (size_t(picture) >= seen_.size()) seen_.resize(std::max(size_t(picture) + 1, seen_.size() * 2), false);
    seen_[size_t(picture)] = true;
    if (!before || !wanted_ || wanted_(picture)) return false;
    if (!disposable_.disposable(packet.data, size_t(packet.size))) return false;
    ++skipped_;
    return true;
}

}  // namespace ts
