#include "display/CatcherFinder.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "game/HighwayGeometry.h"
#include "support/ToolTest.h"

namespace {

// How far left and right of the outer catch points the search goes, and how
// far up and down of the catch row.
constexpr int kSearchMargin = 30;
constexpr int kRowSlack = 2;
// The largest the badge pop makes a badge.
constexpr float kBadgePop = 1.5f;

// A box relative to a picture's middle.
struct Box {
    float left = 0, top = 0, right = 0, bottom = 0;
    bool empty = true;

    void Add(const Box& b, float scale) {
        if (b.empty) return;
        const float l = b.left * scale, t = b.top * scale, r = b.right * scale, bt = b.bottom * scale;
        left = empty ? l : std::min(left, l);
        top = empty ? t : std::min(top, t);
        right = empty ? r : std::max(right, r);
        bottom = empty ? bt : std::max(bottom, bt);
        empty = false;
    }
    bool Holds(float x, float y) const { return !empty && x >= left && x <= right && y >= top && y <= bottom; }
};

// Where a picture drawn centred on a point has any visible pixel.
Box VisibleBox(const TPicture& picture) {
    Box box;
    const float cx = picture.Width() * 0.5f, cy = picture.Height() * 0.5f;
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x) {
            if ((picture.ReadPixel(x, y) >> 24) == 0) continue;
            Box pixel;
            pixel.left = x - cx;
            pixel.right = x + 1 - cx;
            pixel.top = y - cy;
            pixel.bottom = y + 1 - cy;
            pixel.empty = false;
            box.Add(pixel, 1.0f);
        }
    return box;
}

float Brightness(uint32_t rgb) {
    return 0.299f * static_cast<float>((rgb >> 16) & 0xFF) + 0.587f * static_cast<float>((rgb >> 8) & 0xFF) +
           0.114f * static_cast<float>(rgb & 0xFF);
}

}  // namespace

bool CatcherFinder::Load(const std::string& gameDir) {
    looks_.clear();
    // The ×2 and ×4 badges are drawn over the silver and gold looks, swelling
    // up to half as big again when points are scored: leave what they may
    // cover out of the comparison.
    Box badges;
    for (const char* name : {"bat_x2", "bat_x4"}) {
        PicturePtr badge = GameFolderPicture(gameDir, std::string("media/gfx/gryph/") + name + ".png");
        if (!badge) return false;
        badges.Add(VisibleBox(*badge), 1.0f);
        badges.Add(VisibleBox(*badge), kBadgePop);
    }
    for (const char* name : {"bat_main", "bat_silver", "bat_gold"}) {
        PicturePtr picture = GameFolderPicture(gameDir, std::string("media/gfx/gryph/") + name + ".png");
        if (!picture) return false;
        Look look;
        look.width = picture->Width();
        look.height = picture->Height();
        for (int y = 0; y < look.height; ++y)
            for (int x = 0; x < look.width; ++x) {
                const uint32_t argb = picture->ReadPixel(x, y);
                if ((argb >> 24) != 0xFF) continue;
                if (badges.Holds(x - look.width * 0.5f, y - look.height * 0.5f)) continue;
                look.xs.push_back(x);
                look.ys.push_back(y);
                look.brightness.push_back(Brightness(argb & 0xFFFFFF));
            }
        if (look.brightness.empty()) return false;
        // Kept relative to its mean and scaled to unit length, the picture
        // compares by its shape of light and dark alone.
        double mean = 0, length = 0;
        for (float v : look.brightness) mean += v;
        mean /= static_cast<double>(look.brightness.size());
        for (float& v : look.brightness) {
            v -= static_cast<float>(mean);
            length += double(v) * v;
        }
        if (length <= 0) return false;
        for (float& v : look.brightness) v /= static_cast<float>(std::sqrt(length));
        looks_.push_back(std::move(look));
    }
    return true;
}

int CatcherFinder::FindX(const WindowShot& shot) const {
    const HighwayPoint left = HighwayGeometry::CatchPoint(0), right = HighwayGeometry::CatchPoint(4);
    int bestX = -1;
    double best = -2;
    std::vector<float> seen;
    for (const Look& look : looks_) {
        // Drawn centred on its position (the picture's handle is its middle);
        // a pixel's rounding either way is allowed for.
        const int top = static_cast<int>(std::lround(left.y - look.height * 0.5f));
        seen.resize(look.brightness.size());
        for (int y0 = top - kRowSlack; y0 <= top + kRowSlack; ++y0)
            for (int cx = static_cast<int>(left.x) - kSearchMargin; cx <= static_cast<int>(right.x) + kSearchMargin;
                 ++cx) {
                const int x0 = static_cast<int>(std::lround(cx - look.width * 0.5f));
                double mean = 0;
                for (size_t i = 0; i < seen.size(); ++i) {
                    seen[i] = Brightness(shot.At(x0 + look.xs[i], y0 + look.ys[i]));
                    mean += seen[i];
                }
                mean /= static_cast<double>(seen.size());
                double dot = 0, length = 0;
                for (size_t i = 0; i < seen.size(); ++i) {
                    const double v = seen[i] - mean;
                    dot += v * look.brightness[i];
                    length += v * v;
                }
                const double correlation = length > 0 ? dot / std::sqrt(length) : -1;
                if (correlation > best) {
                    best = correlation;
                    bestX = cx;
                }
            }
    }
    return bestX;
}
