// JPEG reading through libjpeg; errors end in a null picture, never a message
// or an exit.
#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

#include "media/detail/PictureCodecs.h"

namespace media_detail {
namespace {

struct SilentErrors {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

[[noreturn]] void JumpOnError(j_common_ptr info) {
    auto* errors = reinterpret_cast<SilentErrors*>(info->err);
    std::longjmp(errors->jump, 1);
}
void IgnoreMessage(j_common_ptr) {}
// Counts warnings quietly: a truncated or damaged stream only warns, and such a
// picture is refused rather than shown half grey.
void CountWarning(j_common_ptr info, int level) {
    if (level < 0) ++info->err->num_warnings;
}

// State shared with the setjmp regions, allocated before any of them.
struct JpegJob {
    jpeg_decompress_struct info{};
    SilentErrors errors{};
    bool created = false;
    std::vector<uint8_t> row;
    PicturePtr picture;
    ~JpegJob() {
        if (created) jpeg_destroy_decompress(&info);
    }
};

bool ReadJpegHeader(JpegJob& job, const uint8_t* data, size_t size) {
    if (setjmp(job.errors.jump)) return false;
    jpeg_create_decompress(&job.info);
    job.created = true;
    jpeg_mem_src(&job.info, data, static_cast<unsigned long>(size));
    if (jpeg_read_header(&job.info, TRUE) != JPEG_HEADER_OK) return false;
    job.info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&job.info);
    return job.info.output_components == 3;
}

bool ReadJpegRows(JpegJob& job) {
    if (setjmp(job.errors.jump)) return false;
    uint32_t* out = job.picture->StorePixels();
    const size_t width = job.info.output_width;
    while (job.info.output_scanline < job.info.output_height) {
        const size_t y = job.info.output_scanline;
        JSAMPROW rowPtr = job.row.data();
        if (jpeg_read_scanlines(&job.info, &rowPtr, 1) != 1) return false;
        const uint8_t* in = job.row.data();
        for (size_t x = 0; x < width; ++x, in += 3)
            out[y * width + x] = 0xFF000000u | (uint32_t(in[0]) << 16) | (uint32_t(in[1]) << 8) | in[2];
    }
    jpeg_finish_decompress(&job.info);
    return job.errors.base.num_warnings == 0;
}

}  // namespace

PicturePtr DecodeJPEG(const uint8_t* data, size_t size) {
    if (size < 4 || data[0] != 0xFF || data[1] != 0xD8) return nullptr;
    JpegJob job;
    job.info.err = jpeg_std_error(&job.errors.base);
    job.errors.base.error_exit = JumpOnError;
    job.errors.base.output_message = IgnoreMessage;
    job.errors.base.emit_message = CountWarning;
    if (!ReadJpegHeader(job, data, size)) return nullptr;
    if (!PictureSizeAcceptable(job.info.output_width, job.info.output_height)) return nullptr;
    job.row.resize(static_cast<size_t>(job.info.output_width) * 3);
    job.picture = std::make_shared<TPicture>(static_cast<int>(job.info.output_width),
                                             static_cast<int>(job.info.output_height), false);
    if (!ReadJpegRows(job)) return nullptr;
    return job.picture;
}

}  // namespace media_detail
