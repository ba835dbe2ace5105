#pragma once
#include <cstddef>
#include <vector>

// Where the next rectangle goes on one square atlas page: the page keeps its
// skyline (the lowest free row above each stretch of columns) and a rectangle
// goes where its top edge ends highest up, leftmost on a tie. Rows of mixed
// heights leave far less unused than shelves do (a short picture no longer
// opens a shelf that a tall one cannot share), and on a software driver every
// page costs its whole size in main memory however little of it is used.
// Space is only given back all at once (Clear), when the page's last picture
// has gone.
class TAtlasSkyline {
public:
    explicit TAtlasSkyline(int size = 0) { Reset(size); }

    // Forgets every placement; the page is `size` texels square.
    void Reset(int size);
    // Forgets every placement, keeping the size.
    void Clear() { Reset(size_); }
    // The top-left corner for a w × h rectangle that overlaps nothing placed
    // and stays on the page; false (and nothing placed) when there is no room.
    bool Place(int w, int h, int& x, int& y);
    int Size() const { return size_; }

private:
    struct Segment {
        int x, y, w;  // columns [x, x + w) are free from row y down
    };
    // The row a w-wide rectangle starting at segment i would rest on, or -1
    // when it would leave the page on the right.
    int RestingRow(size_t i, int w) const;
    void Raise(int x, int w, int y);

    int size_ = 0;
    std::vector<Segment> skyline_;
};
