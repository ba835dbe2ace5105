// libFuzzer entry point for the TGA decoder (see PictureDecoderCheck.h).
#include "fuzz/PictureDecoderCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CheckPictureDecoder(media_detail::DecodeTGA, data, size);
    return 0;
}
