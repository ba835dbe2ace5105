// libFuzzer entry point for the BMP decoder (see PictureDecoderCheck.h).
#include "fuzz/PictureDecoderCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CheckPictureDecoder(media_detail::DecodeBMP, data, size);
    return 0;
}
