#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/TColor.h"
#include "core/TVector.h"
#include "gui/TWidget.h"

class TFloatPoints;
using FloatPointsPtr = std::shared_ptr<TFloatPoints>;

// A "+N" that rises and fades from where points were earned. Creating one is
// what adds N to the level's score, so every point passes through here.
class TFloatPoints : public TWidget {
    TOTEM_CLASS(TFloatPoints)

    std::string text;
    VectorPtr pos;        // top-left of the text
    ColorPtr color;       // white, fading out
    int32_t StartTime = 0;
    float height = 0;
    float width = 0;
    int32_t LifeTime = 800;
    int32_t preset = 0;   // 0 normal, 1 small
    float scale = 1;

    TFloatPoints();

    virtual void remove();
    static void RemoveAll();
    // Centres the text on `pos` (adjusting that vector), shows it and adds
    // `points` to the score.
    static FloatPointsPtr Create(int points, const VectorPtr& pos, int preset);

    void Draw() override;
    void Update(float dt) override;
};

// The texts created since the last RemoveAll.
extern std::vector<FloatPointsPtr> FloatPointsList;
