#include "media/TAtlasSkyline.h"

#include <algorithm>

void TAtlasSkyline::Reset(int size) {
    size_ = std::max(size, 0);
    skyline_.clear();
    if (size_ > 0) skyline_.push_back(Segment{0, 0, size_});
}

int TAtlasSkyline::RestingRow(size_t i, int w) const {
    if (skyline_[i].x + w > size_) return -1;
    int row = 0;
    for (size_t j = i; j < skyline_.size() && skyline_[j].x < skyline_[i].x + w; ++j)
        row = std::max(row, skyline_[j].y);
    return row;
}

bool TAtlasSkyline::Place(int w, int h, int& x, int& y) {
    if (w <= 0 || h <= 0 || w > size_ || h > size_) return false;
    int bestX = -1, bestY = 0;
    for (size_t i = 0; i < skyline_.size(); ++i) {
        const int row = RestingRow(i, w);
        if (row < 0) break;  // every later segment starts further right
        if (row + h > size_) continue;
        if (bestX < 0 || row < bestY) {
            bestX = skyline_[i].x;
            bestY = row;
        }
    }
    if (bestX < 0) return false;
    Raise(bestX, w, bestY + h);
    x = bestX;
    y = bestY;
    return true;
}

// Columns [x, x + w) become free from row y down; neighbours at the same row
// merge, so the skyline stays as short as the page's outline.
void TAtlasSkyline::Raise(int x, int w, int y) {
    std::vector<Segment> next;
    next.reserve(skyline_.size() + 2);
    bool inserted = false;
    for (const Segment& s : skyline_) {
        const int end = s.x + s.w;
        if (end <= x || s.x >= x + w) {
            if (s.x >= x + w && !inserted) {
                next.push_back(Segment{x, y, w});
                inserted = true;
            }
            next.push_back(s);
            continue;
        }
        if (s.x < x) next.push_back(Segment{s.x, s.y, x - s.x});
        if (!inserted) {
            next.push_back(Segment{x, y, w});
            inserted = true;
        }
        if (end > x + w) next.push_back(Segment{x + w, s.y, end - (x + w)});
    }
    if (!inserted) next.push_back(Segment{x, y, w});
    skyline_.clear();
    for (const Segment& s : next) {
        if (!skyline_.empty() && skyline_.back().y == s.y && skyline_.back().x + skyline_.back().w == s.x)
            skyline_.back().w += s.w;
        else
            skyline_.push_back(s);
    }
}
