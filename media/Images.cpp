// Pictures from files, streams and bytes, and the images made from them.
#include <algorithm>

#include "media/Graphics.h"
#include "media/detail/PictureCodecs.h"

namespace {

int EffectiveFlags(int flags) { return flags < 0 ? TImage::DEFAULT_FLAGS : flags; }

// Mask colour pixels become transparent, all others opaque.
void ApplyMask(TPicture& picture, int r, int g, int b) {
    const uint32_t key = (uint32_t(r & 0xFF) << 16) | (uint32_t(g & 0xFF) << 8) | uint32_t(b & 0xFF);
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x) {
            const uint32_t rgb = picture.ReadPixel(x, y) & 0x00FFFFFFu;
            picture.WritePixel(x, y, rgb == key ? rgb : (rgb | 0xFF000000u));
        }
}

// The picture an image of these flags shows: pictures without alpha get the
// mask applied to a copy, so the caller's picture stays as it was.
PicturePtr PictureForImage(const PicturePtr& picture, TImage& image) {
    if (!(image.flags & TImage::MASKED) || picture->HasAlpha()) return picture;
    PicturePtr copy = picture->Clone();
    ApplyMask(*copy, image.mask_r, image.mask_g, image.mask_b);
    copy->SetHasAlpha(true);
    image.maskedFromOpaque = true;
    return copy;
}

ImagePtr StripFromPicture(const PicturePtr& picture, int cellW, int cellH, int first, int count, int flags) {
    if (!picture || cellW <= 0 || cellH <= 0 || first < 0 || count <= 0) return nullptr;
    const int64_t columns = picture->Width() / cellW, rows = picture->Height() / cellH;
    if (columns <= 0 || int64_t(first) + count > columns * rows) return nullptr;
    auto image = std::make_shared<TImage>();
    image->flags = EffectiveFlags(flags);
    image->width = cellW;
    image->height = cellH;
    const PicturePtr source = PictureForImage(picture, *image);
    image->frames.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        const int cell = first + i;
        image->frames.push_back(source->Window(static_cast<int>(cell % columns) * cellW,
                                               static_cast<int>(cell / columns) * cellH, cellW, cellH));
    }
    return image;
}

}  // namespace

namespace media_detail {
PicturePtr DecodePicture(const uint8_t* data, size_t size) {
    if (!data || size == 0) return nullptr;
    if (size >= 8 && data[0] == 0x89 && data[1] == 'P' && data[2] == 'N' && data[3] == 'G') return DecodePNG(data, size);
    if (size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF) return DecodeJPEG(data, size);
    if (size >= 2 && data[0] == 'B' && data[1] == 'M') return DecodeBMP(data, size);
    return DecodeTGA(data, size);
}
}  // namespace media_detail

PicturePtr LoadPictureBytes(const uint8_t* data, size_t size) { return media_detail::DecodePicture(data, size); }

PicturePtr LoadPicture(TStream& stream) {
    const std::vector<uint8_t> bytes = stream.ReadAll();
    return media_detail::DecodePicture(bytes.data(), bytes.size());
}

PicturePtr LoadPicture(const std::string& path) {
    StreamPtr stream = OpenRead(path);
    return stream ? LoadPicture(*stream) : nullptr;
}

bool SavePicturePNG(const TPicture& picture, const std::string& path) {
    std::vector<uint8_t> bytes;
    if (!media_detail::EncodePNG(picture, bytes)) return false;
    StreamPtr stream = OpenWrite(path);
    if (!stream) return false;
    const bool ok = stream->Write(bytes.data(), bytes.size()) == bytes.size();
    stream->Close();
    return ok;
}

std::vector<uint8_t> EncodePicturePNG(const TPicture& picture) {
    std::vector<uint8_t> bytes;
    if (!media_detail::EncodePNG(picture, bytes)) bytes.clear();
    return bytes;
}

ImagePtr ImageFromPicture(const PicturePtr& picture, int flags) {
    if (!picture || picture->Width() <= 0 || picture->Height() <= 0) return nullptr;
    return StripFromPicture(picture, picture->Width(), picture->Height(), 0, 1, flags);
}

ImagePtr LoadImage(const std::string& path, int flags) { return ImageFromPicture(LoadPicture(path), flags); }
ImagePtr LoadImage(TStream& stream, int flags) { return ImageFromPicture(LoadPicture(stream), flags); }

ImagePtr LoadImageStrip(const std::string& path, int cellW, int cellH, int first, int count, int flags) {
    return StripFromPicture(LoadPicture(path), cellW, cellH, first, count, flags);
}

ImagePtr LoadImageStrip(TStream& stream, int cellW, int cellH, int first, int count, int flags) {
    return StripFromPicture(LoadPicture(stream), cellW, cellH, first, count, flags);
}

ImagePtr ImageStripFromPicture(const PicturePtr& picture, int cellW, int cellH, int first, int count, int flags) {
    return StripFromPicture(picture, cellW, cellH, first, count, flags);
}

ImagePtr CreateImage(int width, int height, int frames, int flags) {
    if (width <= 0 || height <= 0 || frames <= 0 || !media_detail::PictureSizeAcceptable(width, height)) return nullptr;
    auto image = std::make_shared<TImage>();
    image->flags = EffectiveFlags(flags);
    image->width = width;
    image->height = height;
    for (int i = 0; i < frames; ++i) image->frames.push_back(std::make_shared<TPicture>(width, height, true));
    return image;
}

PicturePtr LockImage(const ImagePtr& image, int frame) {
    if (!image || frame < 0 || frame >= image->FrameCount()) return nullptr;
    return image->frames[static_cast<size_t>(frame)];
}

void UnlockImage(const ImagePtr& image, int frame) {
    if (!image || frame < 0 || frame >= image->FrameCount()) return;
    // Writes through StorePixels() do not count themselves; make sure the
    // texture is refreshed before the next draw.
    if (image->frames[static_cast<size_t>(frame)]) image->frames[static_cast<size_t>(frame)]->Touch();
}

void SetImageHandle(const ImagePtr& image, float x, float y) {
    if (!image) return;
    image->handle_x = x;
    image->handle_y = y;
}

void CentreImageHandle(const ImagePtr& image) {
    if (!image) return;
    image->handle_x = image->width * 0.5f;
    image->handle_y = image->height * 0.5f;
}

void SetMaskColor(const ImagePtr& image, int r, int g, int b) {
    if (!image) return;
    image->mask_r = r;
    image->mask_g = g;
    image->mask_b = b;
    if (!image->maskedFromOpaque) return;
    for (const PicturePtr& frame : image->frames)
        if (frame) ApplyMask(*frame, r, g, b);
}

void SetImageSource(const ImagePtr& image, std::function<ImagePtr()> reload) {
    if (!image || !reload) return;
    const auto shared = std::make_shared<std::function<ImagePtr()>>(std::move(reload));
    const void* last = nullptr;
    for (size_t i = 0; i < image->frames.size(); ++i) {
        const PicturePtr& frame = image->frames[i];
        // Frames cut from one picture share its store: one source is enough.
        if (!frame || frame->StoreId() == last) continue;
        last = frame->StoreId();
        frame->SetSource([shared, i]() -> PicturePtr {
            ImagePtr again = (*shared)();
            return again && i < again->frames.size() ? again->frames[i] : nullptr;
        });
    }
}
