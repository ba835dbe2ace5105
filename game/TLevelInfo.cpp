#include "game/TLevelInfo.h"

#include "content/Xml.h"

std::vector<LevelInfoPtr> LevelInfoList;

namespace {

void FillFrom(const XmlNode& root) {
    LevelInfoList.clear();
    for (sdXMLnode* n = root ? root->firstchild : nullptr; n; n = XmlNextSibling(n)) {
        if (n->Tag != "level") continue;
        auto info = std::make_shared<TLevelInfo>();
        info->id = XmlAttrInt(n, "id", 0);
        info->song = XmlAttrString(n, "song", "");
        info->complexity = XmlAttrInt(n, "complexity", 0);
        info->Skin = XmlAttrString(n, "skin", "");
        info->speed = XmlAttrFloat(n, "speed", 0);
        LevelInfoList.push_back(info);
    }
}

}  // namespace

void LoadLevelInfoList(const std::string& path) { FillFrom(XmlLoad(path)); }

void LoadLevelInfoList(TStream& stream) {
    // XmlLoad takes a shared stream; hand it a non-owning one over the caller's.
    FillFrom(XmlLoad(StreamPtr(&stream, [](TStream*) {})));
}

LevelInfoPtr GetLevelById(int id) {
    for (const auto& info : LevelInfoList)
        if (info->id == id) return info;
    return nullptr;
}
