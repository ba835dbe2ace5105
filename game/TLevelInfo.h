#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/TObject.h"
#include "media/TStream.h"

class TLevelInfo;
using LevelInfoPtr = std::shared_ptr<TLevelInfo>;

// One row of the level table "media/levels.xml": which song a level plays, at
// which complexity (the chart's octave) and speed, on which skin.
class TLevelInfo : public TObject {
    TOTEM_CLASS(TLevelInfo)

    int32_t id = 0;
    std::string song;
    int32_t complexity = 0;
    std::string Skin;
    float speed = 0;
};

// The level table in file order.
extern std::vector<LevelInfoPtr> LevelInfoList;

// Fills LevelInfoList from the level table: every child element "level" of
// the root, in order; other children are skipped. A missing file leaves the
// list empty.
void LoadLevelInfoList(const std::string& path = "media/levels.xml");
void LoadLevelInfoList(TStream& stream);
// The first level with that id, or null.
LevelInfoPtr GetLevelById(int id);
