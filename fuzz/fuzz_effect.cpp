// libFuzzer entry point for effect files, read through the effect loader as
// the resource manager reads them: any bytes must give an effect (the
// defaults where the file says nothing usable), never crash, read outside the
// file or step into undefined behaviour converting what it holds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "fx/TEffect.h"
#include "media/TStream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    EffectPtr effect = TEffect::Load(OpenMemory(std::vector<uint8_t>(data, data + size), "fuzz_effect.xml"));
    if (!effect || !effect->Color) std::abort();
    // The heritage flags are exactly the colour names the file lists.
    bool red = false, green = false, blue = false;
    for (const std::string& name : effect->Heritage) {
        std::string lower;
        for (char c : name) lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        red = red || lower == "colorred";
        green = green || lower == "colorgreen";
        blue = blue || lower == "colorblue";
    }
    if (red != effect->InheritRed || green != effect->InheritGreen || blue != effect->InheritBlue) std::abort();
    if (!effect->HasHeritage && !effect->Heritage.empty()) std::abort();
    return 0;
}
