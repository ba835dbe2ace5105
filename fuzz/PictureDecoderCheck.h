#pragma once
// The promise every picture decoder keeps, checked on any bytes: refused, or a
// picture of an accepted size; never a crash or a read outside the buffer; and
// a small picture it gives survives being written as PNG and read back pixel
// for pixel. Aborts (a finding) when the promise is broken.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "media/detail/PictureCodecs.h"

inline void CheckPictureDecoder(PicturePtr (*decode)(const uint8_t*, size_t), const uint8_t* data, size_t size) {
    constexpr int kRoundTripPixels = 1 << 16;
    // The decoder reads a copy that ends exactly where the input does.
    const std::vector<uint8_t> bytes(data, data + size);
    const PicturePtr picture = decode(bytes.data(), bytes.size());
    if (!picture) return;
    if (!media_detail::PictureSizeAcceptable(picture->Width(), picture->Height())) std::abort();
    if (picture->Width() * picture->Height() > kRoundTripPixels) return;

    std::vector<uint8_t> png;
    if (!media_detail::EncodePNG(*picture, png)) std::abort();
    const PicturePtr again = media_detail::DecodePNG(png.data(), png.size());
    if (!again || again->Width() != picture->Width() || again->Height() != picture->Height()) std::abort();
    for (int y = 0; y < picture->Height(); ++y)
        for (int x = 0; x < picture->Width(); ++x) {
            const uint32_t a = picture->ReadPixel(x, y), b = again->ReadPixel(x, y);
            // Fully transparent pixels may lose their colour on the way.
            if (a != b && ((a >> 24) != 0 || (b >> 24) != 0)) std::abort();
        }
}
