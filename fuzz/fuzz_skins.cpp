// libFuzzer entry point for the skins file ("media/skins.xml") as a level
// reads it for its statues' eyes: any bytes must either give the skin's entry
// (the first "skin" element of the root with its id) or say that the skin has
// none, never crash, hang or read outside the file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "content/Xml.h"
#include "core/QuitRequest.h"
#include "game/TGryph.h"
#include "media/System.h"
#include "media/TStream.h"

namespace {
bool SameVector(const VectorPtr& a, const VectorPtr& b) {
    if (!a || !b) return !a && !b;
    return (a->x == b->x || (a->x != a->x && b->x != b->x)) && (a->y == b->y || (a->y != a->y && b->y != b->y));
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool quiet = (SetNotifyBoxesEnabled(false), true);
    (void)quiet;
    const std::vector<uint8_t> bytes(data, data + size);
    // The last byte picks which of the shipped skins the level asks for.
    static const char* const kSkins[] = {"sunrise", "lagoon", "volcano", "starlight"};
    const std::string skin = kSkins[size > 0 ? data[size - 1] % 4 : 0];

    TGryph gryph;
    StreamPtr file = OpenMemory(bytes, "media/skins.xml");
    const int result = gryph.LoadGlazPos(*file, skin);

    XmlNode root = XmlLoad(OpenMemory(bytes, "media/skins.xml"));
    sdXMLnode* entry = nullptr;
    for (sdXMLnode* n = root ? root->firstchild : nullptr; n && !entry; n = XmlNextSibling(n))
        if (n->Tag == "skin" && XmlAttrString(n, "id", "") == skin) entry = n;
    if ((result == 0) != (entry != nullptr)) std::abort();
    if (result != 0) {
        if (!QuitRequested()) std::abort();  // a level without its skin cannot go on
        ClearQuitRequest();
        return 0;
    }
    if (!SameVector(gryph.Glaz1_1, XmlAttrVector(entry, "glaz1_1", nullptr)) ||
        !SameVector(gryph.GLaz2_2, XmlAttrVector(entry, "glaz2_2", nullptr)))
        std::abort();
    return 0;
}
