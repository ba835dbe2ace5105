// libFuzzer entry point for the BMP decoder: any bytes must be refused or
// give a picture of an accepted size, never crash or read outside the buffer,
// and a small picture it gives must survive being written as PNG and read
// back pixel for pixel.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "media/detail/PictureCodecs.h"

namespace {
constexpr int kRoundTripPixels = 1 << 16;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The decoder reads a copy that ends exactly where the input does.
    const std::vector<uint8_t> bytes(data, data + size);
    const PicturePtr picture = media_detail::DecodeBMP(bytes.data(), bytes.size());
    if (!picture) return 0;
    if (!media_detail::PictureSizeAcceptable(picture->Width(), picture->Height())) std::abort();
    if (picture->Width() * picture->Height() > kRoundTripPixels) return 0;

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
    return 0;
}
