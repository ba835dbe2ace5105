// PNG reading and writing through libpng, with errors turned into a null
// result instead of messages.
#include <png.h>

#include <bit>
#include <cstring>

#include "media/detail/PictureCodecs.h"

namespace media_detail {
namespace {

struct MemoryReader {
    const uint8_t* data;
    size_t size;
    size_t pos;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t length) {
    auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
    if (length > reader->size - reader->pos) png_error(png, "truncated");
    std::memcpy(out, reader->data + reader->pos, length);
    reader->pos += length;
}

void WriteToVector(png_structp png, png_bytep in, png_size_t length) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), in, in + length);
}

void FlushNothing(png_structp) {}

[[noreturn]] void SilentError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void SilentWarning(png_structp, png_const_charp) {}

// Everything libpng touches lives here, allocated before any setjmp, so a
// longjmp never skips a destructor or leaves a local in doubt.
struct ReadJob {
    png_structp png = nullptr;
    png_infop info = nullptr;
    MemoryReader reader{};
    PicturePtr picture;
    std::vector<png_bytep> rows;
    ~ReadJob() {
        if (png) png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    }
};

bool ReadHeader(ReadJob& job, png_uint_32& width, png_uint_32& height, bool& hasAlpha) {
    if (setjmp(png_jmpbuf(job.png))) return false;
    png_set_read_fn(job.png, &job.reader, ReadFromMemory);
    png_set_user_limits(job.png, kMaxPictureSide, kMaxPictureSide);
    png_read_info(job.png, job.info);
    width = png_get_image_width(job.png, job.info);
    height = png_get_image_height(job.png, job.info);
    int colorType = png_get_color_type(job.png, job.info);
    int bitDepth = png_get_bit_depth(job.png, job.info);
    bool trns = png_get_valid(job.png, job.info, PNG_INFO_tRNS) != 0;
    hasAlpha = (colorType & PNG_COLOR_MASK_ALPHA) != 0 || trns;

    if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(job.png);
    if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(job.png);
    if (trns) png_set_tRNS_to_alpha(job.png);
    if (bitDepth == 16) png_set_strip_16(job.png);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(job.png);
    if (!hasAlpha) png_set_filler(job.png, 0xFF, PNG_FILLER_AFTER);
    // Blue, green, red, alpha in memory is 0xAARRGGBB in a little-endian word:
    // libpng writes the picture's own pixels, with no copy to convert.
    static_assert(std::endian::native == std::endian::little, "pixels are decoded as little-endian words");
    png_set_bgr(job.png);
    png_set_interlace_handling(job.png);
    png_read_update_info(job.png, job.info);
    return png_get_rowbytes(job.png, job.info) == static_cast<png_size_t>(width) * 4;
}

bool ReadRows(ReadJob& job) {
    if (setjmp(png_jmpbuf(job.png))) return false;
    png_read_image(job.png, job.rows.data());
    // Reading to the end chunk makes a file cut short fail instead of passing.
    png_read_end(job.png, nullptr);
    return true;
}

}  // namespace

PicturePtr DecodePNG(const uint8_t* data, size_t size) {
    if (size < 8 || png_sig_cmp(data, 0, 8) != 0) return nullptr;
    ReadJob job;
    job.reader = MemoryReader{data, size, 0};
    job.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, SilentError, SilentWarning);
    if (!job.png) return nullptr;
    job.info = png_create_info_struct(job.png);
    if (!job.info) return nullptr;

    png_uint_32 width = 0, height = 0;
    bool hasAlpha = false;
    if (!ReadHeader(job, width, height, hasAlpha)) return nullptr;
    if (!PictureSizeAcceptable(width, height)) return nullptr;
    job.picture = std::make_shared<TPicture>(static_cast<int>(width), static_cast<int>(height), hasAlpha);
    auto* pixels = reinterpret_cast<png_bytep>(job.picture->StorePixels());
    job.rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y) job.rows[y] = pixels + static_cast<size_t>(y) * width * 4;
    // A file that fails half way yields nothing, not half a picture.
    if (!ReadRows(job)) return nullptr;
    return job.picture;
}

namespace {
struct WriteJob {
    png_structp png = nullptr;
    png_infop info = nullptr;
    std::vector<uint8_t> bytes;
    std::vector<png_bytep> rows;
    ~WriteJob() {
        if (png) png_destroy_write_struct(&png, info ? &info : nullptr);
    }
};

bool WriteAll(WriteJob& job, std::vector<uint8_t>& out, int w, int h, bool alpha) {
    if (setjmp(png_jmpbuf(job.png))) return false;
    png_set_write_fn(job.png, &out, WriteToVector, FlushNothing);
    png_set_IHDR(job.png, job.info, static_cast<png_uint_32>(w), static_cast<png_uint_32>(h), 8,
                 alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(job.png, job.info);
    png_write_image(job.png, job.rows.data());
    png_write_end(job.png, nullptr);
    return true;
}
}  // namespace

bool EncodePNG(const TPicture& picture, std::vector<uint8_t>& out) {
    const int w = picture.Width(), h = picture.Height();
    if (w <= 0 || h <= 0) return false;
    const bool alpha = picture.HasAlpha();
    const int channels = alpha ? 4 : 3;
    WriteJob job;
    job.bytes.resize(static_cast<size_t>(w) * h * channels);
    job.rows.resize(h);
    for (int y = 0; y < h; ++y) {
        uint8_t* row = job.bytes.data() + static_cast<size_t>(y) * w * channels;
        job.rows[y] = row;
        for (int x = 0; x < w; ++x) {
            uint32_t p = picture.ReadPixel(x, y);
            *row++ = static_cast<uint8_t>(p >> 16);
            *row++ = static_cast<uint8_t>(p >> 8);
            *row++ = static_cast<uint8_t>(p);
            if (alpha) *row++ = static_cast<uint8_t>(p >> 24);
        }
    }
    job.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, SilentError, SilentWarning);
    if (!job.png) return false;
    job.info = png_create_info_struct(job.png);
    if (!job.info) return false;
    out.clear();
    if (!WriteAll(job, out, w, h, alpha)) {
        out.clear();
        return false;
    }
    return true;
}

}  // namespace media_detail
