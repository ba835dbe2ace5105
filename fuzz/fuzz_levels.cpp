// libFuzzer entry point for the level table ("media/levels.xml") as the game
// reads it: any bytes must give one row per "level" element of the root, in
// file order, never crash, hang or read outside the file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "content/Xml.h"
#include "game/TLevelInfo.h"
#include "media/TStream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes(data, data + size);
    StreamPtr file = OpenMemory(bytes, "media/levels.xml");
    LoadLevelInfoList(*file);

    // The same file through the XML reader alone: the rows the table must hold.
    XmlNode root = XmlLoad(OpenMemory(bytes, "media/levels.xml"));
    size_t row = 0;
    for (sdXMLnode* n = root ? root->firstchild : nullptr; n; n = XmlNextSibling(n)) {
        if (n->Tag != "level") continue;
        if (row >= LevelInfoList.size()) std::abort();
        const LevelInfoPtr& info = LevelInfoList[row++];
        if (!info || info->id != XmlAttrInt(n, "id", 0) || info->song != XmlAttrString(n, "song", "")) std::abort();
    }
    if (row != LevelInfoList.size()) std::abort();
    for (const LevelInfoPtr& info : LevelInfoList)
        if (GetLevelById(info->id) == nullptr) std::abort();
    return 0;
}
