#pragma once
// Picture decoders and the PNG encoder, shared between the media layer's own
// modules only. Every decoder takes a byte buffer, never reads outside it and
// returns null for anything it cannot decode, printing nothing.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "media/TPicture.h"

namespace media_detail {
// Largest picture a decoder accepts: guards against garbage headers asking for
// gigabytes.
constexpr int kMaxPictureSide = 16384;
constexpr int64_t kMaxPicturePixels = int64_t(1) << 25;
inline bool PictureSizeAcceptable(int64_t w, int64_t h) {
    return w > 0 && h > 0 && w <= kMaxPictureSide && h <= kMaxPictureSide && w * h <= kMaxPicturePixels;
}

PicturePtr DecodePNG(const uint8_t* data, size_t size);
PicturePtr DecodeJPEG(const uint8_t* data, size_t size);
PicturePtr DecodeBMP(const uint8_t* data, size_t size);
PicturePtr DecodeTGA(const uint8_t* data, size_t size);
// Picks the decoder from the leading bytes (TGA has no signature, so it is tried last).
PicturePtr DecodePicture(const uint8_t* data, size_t size);
// PNG with an alpha channel when the picture has one, else 24-bit.
bool EncodePNG(const TPicture& picture, std::vector<uint8_t>& out);
}  // namespace media_detail
